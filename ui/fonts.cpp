#include "ui/fonts.h"

#include <QFont>
#include <QStringList>

namespace ui {

void registerFontSubstitutes() {
    QFont::insertSubstitutions(
        QStringLiteral("ＭＳ ゴシック"),
        QStringList{QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")});
    QFont::insertSubstitutions(
        QStringLiteral("ＭＳ Ｐゴシック"),
        QStringList{QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")});
}

}  // namespace ui
