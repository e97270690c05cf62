#pragma once

#include "ui/common/TwipsLayout.h"

// Where everything on the login window stands, in twips.
namespace quilloa::loginwindow {

inline constexpr int kClientWidth = 5040;
inline constexpr int kClientHeight = 2460;

// The key picture (Image1) is square; the rule under the title (Image2) is a thin strip.
inline constexpr int kKeySide = 720;
inline constexpr int kRuleWidth = 3600;
inline constexpr int kRuleHeight = 60;

inline constexpr TwipsPlacement kPlacements[] = {
    {u"Image1", 240, 240, kKeySide, kKeySide},
    {u"Label2", 1200, 180, 3600, 480},
    {u"Image2", 1200, 720, kRuleWidth, kRuleHeight},
    {u"lblVersion", 1200, 1020, 1800, 180},
    {u"Text1", 1200, 1320, 3600, 315},
    {u"Command1", 1980, 1860, 1335, 375},
    {u"Command2", 3465, 1860, 1335, 375},
};

} // namespace quilloa::loginwindow
