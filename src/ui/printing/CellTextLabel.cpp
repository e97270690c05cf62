#include "ui/printing/CellTextLabel.h"

#include "core/printing/SheetFaceMetrics.h"
#include "ui/common/Twips.h"
#include "ui/printing/CellText.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace quilloa {

CellTextLabel::CellTextLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
}

double CellTextLabel::emPixels() const
{
    return SheetFaceMetrics::emTwips(font().pointSizeF()) / double(kTwipsPerPixel);
}

QSize CellTextLabel::sizeHint() const
{
    const double width =
        SheetFaceMetrics::textWidthTwips(text(), font().pointSizeF()) / double(kTwipsPerPixel);
    return QSize(int(std::ceil(width)), int(std::ceil(emPixels())));
}

void CellTextLabel::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    const double em = emPixels();
    painter.setFont(CellText::standIn(font().family(), em, font().bold()));
    CellText::draw(painter, QPointF(0, 0), text(), em, QRectF(event->rect()));
}

} // namespace quilloa
