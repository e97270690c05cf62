#pragma once

#include "ui/common/TwipsLayout.h"

// Where everything on the drug panel (Frame2 of the main window) stands, in twips from the
// panel's top-left corner.
namespace quilloa::drugpanel {

inline constexpr TwipsPlacement kPlacements[] = {
    {u"Label5_17", 120, 300, 1080, 180},
    {u"Text1", 1200, 240, 2235, 315},
    {u"List1", 120, 660, 3315, 3855},
};

} // namespace quilloa::drugpanel
