#include "core/printing/SheetTitle.h"

#include "core/entry/SheetGeometry.h"
#include "core/printing/SheetFaceMetrics.h"

#include <algorithm>

namespace quilloa {

double SheetTitle::shrink(const QString& title)
{
    const double room = sheet::kSheetSize.width - 2 * kSideRoomTwips;
    const double width = SheetFaceMetrics::textWidthTwips(title, kSheetPointSize);
    return width > room ? room / width : 1.0;
}

SheetTitle::Placement SheetTitle::onSheet(const QString& title)
{
    const double size = kSheetPointSize * shrink(title);
    return {sheet::titleLeft(SheetFaceMetrics::textWidthTwips(title, size)), size};
}

SheetTitle::Placement SheetTitle::onPaper(const QString& title)
{
    const Placement sheetPlace = onSheet(title);
    return {sheet::kPaperScale * sheetPlace.left, kPrintedPointSize * shrink(title)};
}

} // namespace quilloa
