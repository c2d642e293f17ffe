#pragma once

#include <QStyledItemDelegate>

// Draws a "削除" push button in a cell, the same in every row, with no widget behind it:
// the grid reports the click on the cell and the window acts on it.
class DeleteButtonDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static QString label();
    // Where a cell's button lies.
    static QRect buttonRect(const QRect& cell);
    // The narrowest cell whose button shows the whole label, in the view's font and style.
    static int cellWidth(const QWidget* view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
