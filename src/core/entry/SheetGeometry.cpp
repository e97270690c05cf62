#include "core/entry/SheetGeometry.h"

namespace quilloa::sheet {

double titleLeft(double titleWidth)
{
    return (kSheetSize.width - titleWidth) / 2.0;
}

} // namespace quilloa::sheet
