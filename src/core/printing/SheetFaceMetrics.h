#pragma once

#include <QString>

namespace quilloa {

// The metrics of the faces the sheet and the printouts were laid out for (宋体, 黑体 and
// 楷体_GB2312), in twips for a size in points.
//
// Those are GB2312 faces with an em square of 256 units, 220 of them above the baseline and 36
// below, no leading: a line is exactly one em high and the baseline lies 220/256 em below the
// top. Han characters and full-width forms take one em; ASCII letters, digits, punctuation and
// the space take half an em. The faces that stand in for them on this system (Noto CJK, AR PL)
// are about 1.44 em tall with a quarter-em space, so every place on paper is worked out from
// these figures and the stand-in only supplies the glyph shapes.
class SheetFaceMetrics
{
public:
    static constexpr double kAscentPerEm = 220.0 / 256.0;
    static constexpr double kTwipsPerPoint = 20.0;

    static double emTwips(double pointSize) { return pointSize * kTwipsPerPoint; }
    static double ascentTwips(double pointSize) { return emTwips(pointSize) * kAscentPerEm; }
    static double lineHeightTwips(double pointSize) { return emTwips(pointSize); }
    // Half an em for a character of the half-width range, one em for everything else.
    static double advanceTwips(char32_t character, double pointSize);
    static double textWidthTwips(const QString& text, double pointSize);
    static bool isHalfWidth(char32_t character);
};

} // namespace quilloa
