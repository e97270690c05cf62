#pragma once

#include "ui/common/TwipsLayout.h"

// Where everything on the settings window stands, in twips, each control relative to its
// container: the two frames and the button to the window, the captions and boxes to their frame.
namespace quilloa::settingswindow {

inline constexpr int kClientWidth = 4740;
inline constexpr int kClientHeight = 3945;

inline constexpr TwipsPlacement kPlacements[] = {
    {u"Frame1", 120, 120, 4515, 1515},
    {u"Frame2", 120, 1800, 4515, 1455},
    {u"Command1", 3180, 3420, 1395, 375},
    // Left of the button: which store the settings belong to (files here, or a server).
    {u"storeInUse", 120, 3330, 2940, 555},
    // Frame1: 名称, 密码 on the first row; 医生, 配药 on the second.
    {u"Label1", 120, 480, 540, 180},
    {u"Text1", 720, 420, 1395, 315},
    {u"Label8", 2280, 480, 540, 180},
    {u"Text8", 2880, 420, 1455, 315},
    {u"Label2", 120, 960, 540, 180},
    {u"Text2", 720, 900, 1395, 315},
    {u"Label3", 2280, 960, 540, 180},
    {u"Text3", 2880, 900, 1455, 315},
    // A third row under them: the idle lock, and clearing the stored login password.
    {u"Label9", 120, 1275, 540, 180},
    {u"idleLock", 720, 1215, 1395, 285},
    {u"clearPassword", 2880, 1215, 1455, 285},
    // Frame2: the sheet's margins, then the card's, then a line that explains them.
    {u"Label4", 120, 480, 1080, 180},
    {u"Text4", 1440, 420, 615, 315},
    {u"Label5", 2400, 480, 1080, 180},
    {u"Text5", 3720, 420, 615, 315},
    {u"Label6", 120, 960, 1260, 180},
    {u"Text6", 1440, 900, 615, 315},
    {u"Label7", 2400, 960, 1260, 180},
    {u"Text7", 3720, 900, 615, 315},
    {u"marginHint", 120, 1230, 0, 0},
};

} // namespace quilloa::settingswindow
