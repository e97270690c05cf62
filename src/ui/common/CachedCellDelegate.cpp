#include "ui/common/CachedCellDelegate.h"

#include <QApplication>
#include <QPaintDevice>
#include <QPainter>

namespace quilloa {
namespace {

// One line of text on the view's own background, and nothing else: no selection, focus frame or
// background of its own, which the style draws around and under the text. A cell too low for a
// second line shows a wrapping text as one line ending in "…", just as one that does not wrap.
bool plainText(const QStyleOptionViewItem& cell)
{
    const auto extras = QStyleOptionViewItem::HasCheckIndicator |
                        QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::Alternate;
    const auto marked = QStyle::State_Selected | QStyle::State_HasFocus;
    if (cell.text.isEmpty() || (cell.features & extras) || (cell.state & marked) ||
        cell.backgroundBrush.style() != Qt::NoBrush)
        return false;
    return !(cell.features & QStyleOptionViewItem::WrapText) ||
           cell.rect.height() < 2 * cell.fontMetrics.lineSpacing();
}

QPalette::ColorGroup colourGroup(const QStyleOptionViewItem& cell)
{
    if (!(cell.state & QStyle::State_Enabled))
        return QPalette::Disabled;
    return cell.state & QStyle::State_Active ? QPalette::Normal : QPalette::Inactive;
}

} // namespace

void CachedCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    if (!plainText(cell)) {
        ElidedCellTips::paint(painter, option, index);
        return;
    }
    const QWidget* widget = cell.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    // The style keeps this margin on either side of a cell's text.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect room = cell.rect.adjusted(margin, 0, -margin, 0);
    if (room.isEmpty())
        return;
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    painter->drawPixmap(room.topLeft(), textPicture(cell, room, ratio));
}

QPixmap CachedCellDelegate::textPicture(const QStyleOptionViewItem& cell, const QRect& room,
                                        qreal ratio) const
{
    const QColor colour = cell.palette.color(colourGroup(cell), QPalette::Text);
    const QColor background = cell.palette.color(colourGroup(cell), QPalette::Base);
    const QString key =
        QStringLiteral("%1\x1f%2\x1f%3\x1f%4\x1f%5\x1f%6\x1f%7\x1f%8")
            .arg(QString::number(room.width()), QString::number(room.height()),
                 QString::number(colour.rgba()), QString::number(background.rgba()),
                 QString::number(ratio), QString::number(int(cell.displayAlignment)),
                 cell.font.key(), cell.text);
    if (const QPixmap* kept = m_pictures.object(key))
        return *kept;
    QPixmap picture(room.size() * ratio);
    picture.setDevicePixelRatio(ratio);
    // On the view's own background, so its glyphs are blended just as on the view itself.
    picture.fill(background);
    {
        QPainter drawing(&picture);
        drawing.setFont(cell.font);
        drawing.setPen(colour);
        const QString shown =
            cell.fontMetrics.elidedText(cell.text, cell.textElideMode, room.width());
        drawing.drawText(QRect(QPoint(0, 0), room.size()), int(cell.displayAlignment), shown);
    }
    const qsizetype bytes = qsizetype(picture.width()) * picture.height() * 4;
    m_pictures.insert(key, new QPixmap(picture), qMax<qsizetype>(1, bytes));
    return picture;
}

} // namespace quilloa
