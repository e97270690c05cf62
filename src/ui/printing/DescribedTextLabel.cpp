#include "ui/printing/DescribedTextLabel.h"

#include "core/printing/DescribedFace.h"
#include "ui/common/Twips.h"
#include "ui/printing/DescribedText.h"

#include <QPainter>

#include <cmath>

namespace quilloa {

DescribedTextLabel::DescribedTextLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
}

double DescribedTextLabel::emPixels() const
{
    return DescribedFace::emTwips(font().pointSizeF()) / double(kTwipsPerPixel);
}

QSize DescribedTextLabel::sizeHint() const
{
    const double width =
        DescribedFace::textWidthTwips(text(), font().pointSizeF()) / double(kTwipsPerPixel);
    return QSize(int(std::ceil(width)), int(std::ceil(emPixels())));
}

void DescribedTextLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    const double em = emPixels();
    painter.setFont(DescribedText::standIn(font().family(), em, font().bold()));
    DescribedText::draw(painter, QPointF(0, 0), text(), em);
}

} // namespace quilloa
