#include "core/printing/SheetFaceMetrics.h"

#include <QList>
#include <QStringView>

namespace quilloa {

bool SheetFaceMetrics::isHalfWidth(char32_t character)
{
    // The single-byte part of code page 936 is ASCII; the half-width katakana and forms block
    // (U+FF61 to U+FFDC, U+FFE8 to U+FFEE) is half-width in every CJK face as well.
    return (character >= 0x20 && character <= 0x7E) ||
           (character >= 0xFF61 && character <= 0xFFDC) ||
           (character >= 0xFFE8 && character <= 0xFFEE);
}

double SheetFaceMetrics::advanceTwips(char32_t character, double pointSize)
{
    return isHalfWidth(character) ? emTwips(pointSize) / 2 : emTwips(pointSize);
}

double SheetFaceMetrics::textWidthTwips(const QString& text, double pointSize)
{
    double width = 0;
    for (const char32_t character : QStringView(text).toUcs4()) {
        width += advanceTwips(character, pointSize);
    }
    return width;
}

} // namespace quilloa
