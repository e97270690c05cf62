#pragma once

#include <QStyledItemDelegate>

namespace quilloa {

// Draws cells as usual and, on hover, shows a cell's whole text as a tooltip where the cell is
// too narrow for it and ends in "…". A cell that shows all of its text shows no tooltip.
class ElidedCellTips : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // Whether the cell's text is wider than the room its cell gives it.
    bool isElided(const QStyleOptionViewItem& option, const QModelIndex& index) const;
};

} // namespace quilloa
