#include "tools/render/desktop_scene.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

#include "ui/desktop/desktop.h"
#include "ui/main/form1.h"

namespace render {

QImage trayMenu(Form1& form, Module1& state, Prompts& prompts) {
    desktop::Desktop onDesktop(form, state, prompts);
    QMenu& menu = *onDesktop.Mnu_Tray();
    menu.setMinimumWidth(240);  // as wide as a panel's menus commonly open
    menu.popup(QPoint(0, 0));
    menu.setActiveAction(menu.actions().first());
    QImage picture = menu.grab().toImage();
    menu.hide();
    return picture;
}

QImage notification(const QIcon& icon, const desktop::Notice& notice) {
    QFrame card;
    card.setStyleSheet(
        QStringLiteral("QFrame { background: #2e3440; border: 1px solid #4c566a; }"
                       "QLabel { border: none; color: #eceff4; }"));
    card.setFixedWidth(380);
    auto* row = new QHBoxLayout(&card);
    row->setContentsMargins(12, 12, 12, 12);
    row->setSpacing(12);
    auto* picture = new QLabel;
    picture->setPixmap(icon.pixmap(48));
    picture->setAlignment(Qt::AlignTop);
    row->addWidget(picture);
    auto* texts = new QVBoxLayout;
    auto* summary = new QLabel(notice.summary);
    QFont bold = summary->font();
    bold.setBold(true);
    summary->setFont(bold);
    auto* body = new QLabel(notice.body);
    body->setTextFormat(Qt::PlainText);
    body->setWordWrap(true);
    texts->addWidget(summary);
    texts->addWidget(body);
    row->addLayout(texts, 1);
    card.adjustSize();
    return card.grab().toImage();
}

}  // namespace render
