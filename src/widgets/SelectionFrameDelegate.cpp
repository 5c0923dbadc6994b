#include "widgets/SelectionFrameDelegate.h"

#include <QPainter>

void SelectionFrameDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const
{
    const QVariant background = index.data(Qt::BackgroundRole);
    if (!(option.state & QStyle::State_Selected) || !background.isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem plain(option);
    // The frame shows the selection and the focus; a style's tinted focus rectangle would hide the colour.
    plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    QStyledItemDelegate::paint(painter, plain, index);

    const QPalette::ColorGroup group =
        option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    painter->save();
    QPen pen(option.palette.color(group, QPalette::Highlight), kFrameWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    const int half = kFrameWidth / 2;
    painter->drawRect(option.rect.adjusted(half, half, -half, -half));
    painter->restore();
}
