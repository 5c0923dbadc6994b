#pragma once

#include <QStyledItemDelegate>

// Paints a selected item that has a background of its own with that background and a frame in the
// selection colour, so that the item's colour stays visible under the selection.
class SelectionFrameDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int kFrameWidth = 2;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
