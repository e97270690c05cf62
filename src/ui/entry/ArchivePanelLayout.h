#pragma once

#include "ui/common/TwipsLayout.h"

// Where everything on the archive panel (Frame3 of the main window) stands, in twips from the
// panel's top-left corner.
namespace quilloa::archivepanel {

inline constexpr TwipsPlacement kPlacements[] = {
    {u"Label2", 120, 240, 720, 180},    {u"Text2", 960, 180, 1575, 315},
    {u"Label8", 120, 660, 720, 180},    {u"Text3", 960, 600, 1575, 315},
    {u"Command2", 2640, 180, 750, 735}, {u"T1", 120, 1020, 3315, 3735},
};

} // namespace quilloa::archivepanel
