#pragma once

#include "core/entry/KeyboardKeys.h"
#include "core/entry/SheetGeometry.h"

#include <QStringView>

#include <array>

// Where the keys of the on-screen keyboard (Picture6) and of the usage key bar (Picture3)
// stand, and what each key types. Positions and sizes are twips from the top-left corner of
// the panel or the bar; the main window places the panel and the bar themselves.
namespace quilloa::keyboard {

using sheet::TwipRect;

inline constexpr sheet::TwipSize kPanelSize{3915, 1755};
inline constexpr sheet::TwipSize kUsageBarSize{11535, 375};

inline constexpr TwipRect kTitleBarRect{0, 0, 4215, 255}; // Label9
inline constexpr TwipRect kTitleRect{1500, 45, 915, 180}; // Label12 index 0
inline constexpr QStringView kTitle = u"软键盘输入";
inline constexpr int kTitleRed = 0, kTitleGreen = 192, kTitleBlue = 192;

// Character keys Picture7 index 0 to kCharacterKeyCount - 1, each with its caption Label11 of
// the same index.
inline constexpr int kKeysPerRow = 10;
inline constexpr int kFirstKeyLeft = 180;
inline constexpr int kKeyPitch = 360;
inline constexpr std::array<int, 4> kRowTops{420, 720, 1020, 1320};
inline constexpr int kSmallKeyWidth = 300;
inline constexpr int kKeyHeight = 240;
inline constexpr TwipRect kCharacterCaptionRect{0, 0, 300, 270};
inline constexpr QStringView kCaptionFace = sheet::kSongti;
inline constexpr double kCaptionPointSize = 10.5;
inline constexpr int kCaptionRed = 0, kCaptionGreen = 128, kCaptionBlue = 128;

// The two wide keys on the last row, right of "z".
inline constexpr TwipRect kBackspaceRect{2340, 1320, 660, 240};   // Picture12
inline constexpr TwipRect kBackspaceCaptionRect{0, 30, 630, 270}; // Label20
inline constexpr QStringView kBackspaceCaption = u" ←-";
inline constexpr TwipRect kEnterRect{3060, 1320, 660, 240};   // Picture14
inline constexpr TwipRect kEnterCaptionRect{0, 30, 630, 240}; // Label14
inline constexpr QStringView kEnterCaption = u" Enter";

// Where the face of character key `index` stands; an empty rectangle for an index off the
// keyboard.
TwipRect characterKeyRect(int index);

// ---------------------------------------------------------------------------------------------
// Usage keys: the labels Label5 on the bar under the desk. Index 17 of the same array is the
// caption of the drug search box, not a key.

inline constexpr int kUsageKeyTop = 60;
inline constexpr int kUsageKeyHeight = 180;

struct UsageKey
{
    int left;
    int width;
    int index; // Label5 index
    QStringView caption;
};

// Left to right. A key types its caption (see insertedText()).
inline constexpr std::array<UsageKey, 20> kUsageKeys{{
    {60, 180, 9, u"mg"},
    {420, 180, 1, u"ml"},
    {780, 90, 8, u"#"},
    {1020, 270, 3, u"tid"},
    {1440, 270, 4, u"bid"},
    {1860, 180, 15, u"qd"},
    {2160, 270, 6, u"qod"},
    {2580, 270, 2, u"qid"},
    {3000, 270, 10, u"q8h"},
    {3360, 180, 11, u"qn"},
    {3720, 180, 5, u"iv"},
    {4080, 180, 7, u"st"},
    {4380, 270, 12, u"prn"},
    {4800, 180, 14, u"HS"},
    {5100, 900, 20, u"    用法："},
    {5160, 180, 16, u"×"},
    {6180, 360, 19, u"皮试"},
    {6420, 1800, 18, u"    用法：加滴管 bid"},
    {8040, 1710, 0, u"    用法：iv/gtt qd"},
    {9540, 1890, 13, u"    用法：肌肉注射 st"},
}};

} // namespace quilloa::keyboard
