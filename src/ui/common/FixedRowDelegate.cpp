#include "ui/common/FixedRowDelegate.h"

#include "ui/common/InkFit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace quilloa {

FixedRowDelegate::FixedRowDelegate(QAbstractItemView* view, int rows)
    : QStyledItemDelegate(view), m_view(view), m_rows(std::max(1, rows))
{
}

int FixedRowDelegate::rowHeight() const
{
    return std::max(1, m_view->contentsRect().height() / m_rows);
}

QSize FixedRowDelegate::sizeHint(const QStyleOptionViewItem& /*option*/,
                                 const QModelIndex& /*index*/) const
{
    return QSize(m_view->viewport()->width(), rowHeight());
}

void FixedRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    QStyleOptionViewItem look(option);
    initStyleOption(&look, index);
    QStyle* style = look.widget ? look.widget->style() : QApplication::style();
    const QRect textRoom = style->subElementRect(QStyle::SE_ItemViewItemText, &look, look.widget);
    const QString text = look.text;
    // The style draws the line's background, selection and focus; the text is ours to place.
    look.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &look, painter, look.widget);

    // A face whose letters reach further than the line is high is drawn a little smaller; a
    // text too long for the line is cut short instead.
    const QFont face =
        InkFit::fitted(look.font, InkFit::Lines::LatinAndHan, QString(), look.rect.size());
    const QFontMetricsF metrics(face);
    const QPalette::ColorGroup group = !(look.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (look.state & QStyle::State_Active) ? QPalette::Active
                                                                             : QPalette::Inactive;
    const QPalette::ColorRole role =
        (look.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
    painter->save();
    painter->setClipRect(look.rect);
    painter->setFont(face);
    painter->setPen(look.palette.color(group, role));
    const double baseline = InkFit::centredBaseline(metrics, InkFit::Lines::LatinAndHan,
                                                    look.rect.top(), look.rect.height());
    painter->drawText(QPointF(textRoom.left(), baseline),
                      metrics.elidedText(text, Qt::ElideRight, textRoom.width()));
    painter->restore();
}

} // namespace quilloa
