#include "ui/printing/PreviewPages.h"

#include <QPainter>

namespace quilloa {

PreviewPages::PreviewPages(QWidget* parent) : QWidget(parent)
{
    // The scroll area asks the size policy, not hasHeightForWidth(), whether the pages grow
    // taller than its view; without it they were squeezed into the view with no scroll bar.
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void PreviewPages::setPages(const QList<QPicture>& pages, double pictureDpi, QSizeF pageMillimetres,
                            QRectF printableMillimetres)
{
    m_pages = pages;
    m_pictureDpi = pictureDpi;
    m_pageMillimetres = pageMillimetres;
    m_printable = printableMillimetres;
    updateGeometry();
    update();
}

void PreviewPages::markContinuation(const QString& text)
{
    m_continuation = text;
    update();
}

double PreviewPages::pixelsPerMillimetre(int width) const
{
    return qMax(1, width - 2 * kGap) / m_pageMillimetres.width();
}

int PreviewPages::heightForWidth(int width) const
{
    const double pageHeight = m_pageMillimetres.height() * pixelsPerMillimetre(width);
    return int(m_pages.size() * (pageHeight + kGap)) + kGap;
}

QSize PreviewPages::sizeHint() const
{
    return QSize(700, heightForWidth(700));
}

void PreviewPages::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double scale = pixelsPerMillimetre(width());
    const QSizeF page = m_pageMillimetres * scale;
    double top = kGap;
    for (const QPicture& picture : m_pages) {
        const QRectF sheet(QPointF(kGap, top), page);
        painter.fillRect(sheet.translated(3, 3), QColor(64, 64, 64));
        painter.fillRect(sheet, Qt::white);
        painter.setPen(QPen(QColor(0, 120, 215), 1, Qt::DashLine));
        painter.drawRect(
            QRectF(sheet.topLeft() + m_printable.topLeft() * scale, m_printable.size() * scale));
        painter.save();
        painter.translate(sheet.topLeft());
        // The pictures are in their own pixels at their own resolution.
        const double pictureScale = scale * 25.4 / m_pictureDpi;
        painter.scale(pictureScale, pictureScale);
        painter.drawPicture(0, 0, picture);
        painter.restore();
        if (!m_continuation.isEmpty() && &picture != &m_pages.constLast()) {
            painter.setPen(Qt::red);
            const QRectF foot(sheet.left(), sheet.bottom() - 2 * kGap, sheet.width(), 2 * kGap);
            painter.drawText(foot, Qt::AlignCenter, m_continuation);
        }
        top += page.height() + kGap;
    }
}

} // namespace quilloa
