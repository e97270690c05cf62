#pragma once

#include "ui/common/TwipsLayout.h"

#include <array>

// Where everything on the drug window stands, in twips.
namespace quilloa::drugwindow {

inline constexpr int kClientWidth = 9615;
// One row below the keypad holds the import and export buttons.
inline constexpr int kClientHeight = 5100 + 480;
inline constexpr std::array<TwipsPlacement, 2> kExchangePlacements{{
    {u"CommandImport", 6840, 5100, 1275, 375},
    {u"CommandExport", 8220, 5100, 1275, 375},
}};

// The height of the help text (Label4) its nine lines must fit.
inline constexpr int kHelpHeight = 1875;

// Twips from the top-left corner of each control's container (Frame1 for the edit controls).
inline constexpr std::array<TwipsPlacement, 15> kPlacements{{
    {u"List1", 120, 120, 4875, 4380},
    {u"Frame1", 5160, 120, 4335, 2415},
    {u"Label1", 120, 480, 900, 180},
    {u"Text3", 1080, 420, 3015, 330},
    {u"Label2", 120, 960, 900, 180},
    {u"Text4", 1080, 900, 3015, 330},
    {u"Label3", 120, 1440, 900, 180},
    {u"Text5", 1080, 1380, 3015, 330},
    {u"Command1", 120, 1860, 1335, 375},
    {u"Command2", 1500, 1860, 1335, 375},
    {u"Command3", 2880, 1860, 1335, 375},
    {u"Label4", 5160, 2640, 4335, kHelpHeight},
    {u"Picture3", 5160, 4620, 4335, 375},
    {u"Label5_1", 120, 4680, 900, 180},
    {u"Text1", 1200, 4620, 3795, 315},
}};

// The usage keys on the keypad Picture3, left to right: each types its caption.
struct KeypadKey
{
    int index; // Label5 index
    QStringView caption;
    int left;
    int width;
};

inline constexpr int kKeyTop = 60;
inline constexpr int kKeyHeight = 180;
inline constexpr std::array<KeypadKey, 12> kKeys{{
    {0, u"mg", 60, 180},
    {2, u"ml", 420, 180},
    {17, u"×", 720, 180},
    {9, u"#", 1080, 90},
    {13, u"tid", 1320, 270},
    {5, u"bid", 1740, 270},
    {16, u"qd", 2160, 180},
    {7, u"qid", 2460, 270},
    {10, u"qn", 2880, 180},
    {11, u"qod", 3180, 270},
    {12, u"prn", 3600, 270},
    {14, u"HS", 4020, 180},
}};

} // namespace quilloa::drugwindow
