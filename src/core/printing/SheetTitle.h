#pragma once

#include <QString>

namespace quilloa {

// Where the sheet title (clinic name + "处方笺") stands and how large, on screen and on paper.
//
// Both are worked out from the title's width in the sheet face (see SheetFaceMetrics), not
// from a label measured in whole pixels, so that the printed title lies exactly where the
// sheet's centring puts it. A title too wide for the sheet (a clinic name may take 50
// characters) is set smaller until it fits, on screen and on paper alike, rather than cut off.
class SheetTitle
{
public:
    static constexpr double kSheetPointSize = 15.75;
    static constexpr double kPrintedPointSize = 18;
    // The title keeps this far from either edge of the sheet when it has to shrink.
    static constexpr double kSideRoomTwips = 120;

    struct Placement
    {
        double left = 0; // twips: from the sheet's left, or on paper from the margin origin
        double pointSize = 0;
    };

    static Placement onSheet(const QString& title);
    // The sheet's placement enlarged by the paper scale, the size by the same shrink.
    static Placement onPaper(const QString& title);

private:
    static double shrink(const QString& title);
};

} // namespace quilloa
