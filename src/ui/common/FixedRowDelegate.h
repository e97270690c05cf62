#pragma once

#include <QStyledItemDelegate>

class QAbstractItemView;

namespace quilloa {

// Gives a list lines of equal height so that `rows` lines fill the list's height, whatever
// the line spacing of the installed face, and draws each line's text centred by its ink so
// that the tighter line cuts nothing off. A text wider than the list ends in "…".
class FixedRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    FixedRowDelegate(QAbstractItemView* view, int rows);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    int rowHeight() const;

    QAbstractItemView* m_view;
    int m_rows;
};

} // namespace quilloa
