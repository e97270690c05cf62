#pragma once

#include "core/entry/SheetGeometry.h"

#include <QRect>
#include <QtMath>

namespace quilloa {

// Window geometry is laid out in twips (1/1440 inch); at 96 dpi 15 twips make one pixel.
constexpr int kTwipsPerPixel = 15;

inline int twipsToPixels(int twips)
{
    return qRound(double(twips) / kTwipsPerPixel);
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

inline QRect pixels(const sheet::TwipRect& r)
{
    return twipsRect(r.left, r.top, r.width, r.height);
}

} // namespace quilloa
