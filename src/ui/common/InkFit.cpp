#include "ui/common/InkFit.h"

#include <QFontInfo>
#include <QFontMetricsF>

#include <algorithm>

namespace quilloa {
namespace {

// Capitals with the descenders, and a Han character, span the ink of any line of our texts.
// They are measured apart: the tight box of a text that mixes scripts is not their union.
const QString& latinProbe()
{
    static const QString probe = QStringLiteral("Agjpqy");
    return probe;
}
const QString& hanProbe()
{
    static const QString probe = QStringLiteral("国");
    return probe;
}

constexpr int kSmallestPixelSize = 6;

} // namespace

QRectF InkFit::lineInk(const QFontMetricsF& metrics, Lines lines)
{
    QRectF ink = metrics.tightBoundingRect(latinProbe());
    if (lines == Lines::LatinAndHan)
        ink |= metrics.tightBoundingRect(hanProbe());
    return ink;
}

double InkFit::centredBaseline(const QFontMetricsF& metrics, Lines lines, double top, double height)
{
    const QRectF ink = lineInk(metrics, lines);
    return top + (height - ink.height()) / 2 - ink.top();
}

QFont InkFit::fitted(const QFont& font, Lines lines, const QString& text, const QSizeF& room)
{
    QFont face = font;
    for (int size = QFontInfo(face).pixelSize(); size > kSmallestPixelSize; --size) {
        const QFontMetricsF metrics(face);
        if (metrics.tightBoundingRect(text).width() <= room.width() &&
            lineInk(metrics, lines).height() <= room.height())
            break;
        face.setPixelSize(size - 1);
    }
    return face;
}

QPointF InkFit::centredOrigin(const QFont& font, Lines lines, const QString& text,
                              const QRectF& room)
{
    const QFontMetricsF metrics(font);
    const QRectF ink = metrics.tightBoundingRect(text);
    const double left = room.left() + (room.width() - ink.width()) / 2 - ink.left();
    return QPointF(left, centredBaseline(metrics, lines, room.top(), room.height()));
}

} // namespace quilloa
