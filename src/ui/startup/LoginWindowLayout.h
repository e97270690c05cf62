#pragma once

#include "ui/common/TwipsLayout.h"

// Where everything on the login window stands, in twips.
namespace quilloa::loginwindow {

inline constexpr int kClientWidth = 5040;
inline constexpr int kClientHeight = 2460;

inline constexpr TwipsPlacement kPlacements[] = {
    {u"Image1", 240, 240, 720, 720},      {u"Label2", 1200, 180, 3600, 480},
    {u"Image2", 1200, 720, 3600, 60},     {u"lblVersion", 1200, 1020, 1800, 180},
    {u"Text1", 1200, 1320, 3600, 315},    {u"Command1", 1980, 1860, 1335, 375},
    {u"Command2", 3465, 1860, 1335, 375},
};

} // namespace quilloa::loginwindow
