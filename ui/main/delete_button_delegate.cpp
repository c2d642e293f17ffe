#include "ui/main/delete_button_delegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

QStyle* styleFor(const QStyleOptionViewItem& option) {
    return option.widget ? option.widget->style() : QApplication::style();
}

QStyleOptionButton buttonOption(const QStyleOptionViewItem& option) {
    QStyleOptionButton button;
    button.rect = option.rect.adjusted(1, 1, -1, -1);
    button.text = DeleteButtonDelegate::label();
    button.palette = option.palette;
    button.fontMetrics = option.fontMetrics;
    button.direction = option.direction;
    button.state = QStyle::State_Raised;
    if (option.state & QStyle::State_Enabled) {
        button.state |= QStyle::State_Enabled;
    }
    return button;
}

}  // namespace

QString DeleteButtonDelegate::label() {
    return QStringLiteral("削除");
}

void DeleteButtonDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    QStyle* style = styleFor(option);
    // The cell's own background (and selection) first, then the button over it.
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, option.widget);
    const QStyleOptionButton button = buttonOption(option);
    painter->save();
    painter->setFont(option.font);
    style->drawControl(QStyle::CE_PushButton, &button, painter, option.widget);
    painter->restore();
}

QSize DeleteButtonDelegate::sizeHint(const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    QStyleOptionButton button = buttonOption(item);
    const QSize text = item.fontMetrics.size(Qt::TextShowMnemonic, label());
    return styleFor(option)->sizeFromContents(QStyle::CT_PushButton, &button, text, option.widget);
}
