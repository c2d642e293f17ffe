#include "ui/main/delete_button_delegate.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include <cmath>

namespace {

QStyle* styleFor(const QStyleOptionViewItem& option) {
    return option.widget ? option.widget->style() : QApplication::style();
}

QStyleOptionButton buttonOption(const QStyleOptionViewItem& option) {
    QStyleOptionButton button;
    button.rect = DeleteButtonDelegate::buttonRect(option.rect);
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

QRect DeleteButtonDelegate::buttonRect(const QRect& cell) {
    return cell.adjusted(1, 1, -1, -1);
}

int DeleteButtonDelegate::cellWidth(const QWidget* view) {
    // What the cell's inset and the style's button frame take, measured on a sample cell.
    const QRect cell(0, 0, 100, 20);
    QStyleOptionButton button;
    button.initFrom(view);
    button.rect = buttonRect(cell);
    button.text = label();
    const QRect contents =
        view->style()->subElementRect(QStyle::SE_PushButtonContents, &button, view);
    const int text = int(std::ceil(QFontMetricsF(view->font()).horizontalAdvance(label())));
    return text + cell.width() - contents.width();
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
