#include "ui/common/CachedCellDelegate.h"

#include <QApplication>
#include <QPaintDevice>
#include <QPainter>

namespace quilloa {
namespace {

// One line of text and nothing else. A cell too low for a second line shows a wrapping text
// as one line ending in "…", just as one that does not wrap.
bool plainText(const QStyleOptionViewItem& cell)
{
    const auto extras =
        QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration;
    if (cell.text.isEmpty() || (cell.features & extras))
        return false;
    return !(cell.features & QStyleOptionViewItem::WrapText) ||
           cell.rect.height() < 2 * cell.fontMetrics.lineSpacing();
}

// The pen the style would draw the text with.
QColor textColour(const QStyleOptionViewItem& cell)
{
    QPalette::ColorGroup group =
        cell.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(cell.state & QStyle::State_Active))
        group = QPalette::Inactive;
    return cell.palette.color(group, cell.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                         : QPalette::Text);
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
    const QString text = cell.text;
    cell.text.clear();
    const QWidget* widget = cell.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    // Background, selection and focus frame as the style draws them, without the text.
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    // The style keeps this margin on either side of a cell's text.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect room = cell.rect.adjusted(margin, 0, -margin, 0);
    if (room.isEmpty())
        return;
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    painter->drawPixmap(room.topLeft(), textPicture(cell, text, room, ratio));
}

QPixmap CachedCellDelegate::textPicture(const QStyleOptionViewItem& cell, const QString& text,
                                        const QRect& room, qreal ratio) const
{
    const QColor colour = textColour(cell);
    const QString key =
        QStringLiteral("%1\x1f%2\x1f%3\x1f%4\x1f%5\x1f%6\x1f%7")
            .arg(QString::number(room.width()), QString::number(room.height()),
                 QString::number(colour.rgba()), QString::number(ratio),
                 QString::number(int(cell.displayAlignment)), cell.font.key(), text);
    if (const QPixmap* kept = m_pictures.object(key))
        return *kept;
    QPixmap picture(room.size() * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    {
        QPainter drawing(&picture);
        drawing.setFont(cell.font);
        drawing.setPen(colour);
        const QString shown = cell.fontMetrics.elidedText(text, cell.textElideMode, room.width());
        drawing.drawText(QRect(QPoint(0, 0), room.size()), int(cell.displayAlignment), shown);
    }
    const qsizetype bytes = qsizetype(picture.width()) * picture.height() * 4;
    m_pictures.insert(key, new QPixmap(picture), qMax<qsizetype>(1, bytes));
    return picture;
}

} // namespace quilloa
