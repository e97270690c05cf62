#pragma once

#include "core/entry/SheetGeometry.h"
#include "ui/entry/KeyboardLayout.h"

// Where everything on the main window stands: one table, in twips (1/1440 inch, 15 per pixel at
// 96 dpi), each rectangle relative to its container. The sheet and card contents come from
// entry/SheetGeometry.h; this table places the containers.
namespace quilloa::mainlayout {

using Rect = sheet::TwipRect;

// The client area below the menu bar.
inline constexpr int kClientWidth = 15240;
inline constexpr int kClientHeight = 10290;

// Containers on the client area.
inline constexpr Rect kTopFrame{60, -57, 15135, 795};      // Frame1
inline constexpr Rect kToolbar{60, 150, 9855, 570};        // Toolbar1, inside Frame1
inline constexpr Rect kDrugFrame{60, 658, 3555, 4695};     // Frame2
inline constexpr Rect kArchiveFrame{60, 5340, 3555, 4875}; // Frame3
inline constexpr Rect kDesk{3660, 814, 11535, 8955};       // Picture1
inline constexpr Rect kUsageBar{3660, 9840, keyboard::kUsageBarSize.width,
                                keyboard::kUsageBarSize.height}; // Picture3

// Panels on the desk. The shadows lie 120 twips right of and below their panels.
inline constexpr int kShadowOffset = 120;
inline constexpr Rect kSheet{480, 150, sheet::kSheetSize.width,
                             sheet::kSheetSize.height}; // Picture2
inline constexpr Rect kCard{7020, 2520, sheet::kCardSize.width,
                            sheet::kCardSize.height}; // Picture4
inline constexpr Rect kKeyboard{6960, 300, keyboard::kPanelSize.width,
                                keyboard::kPanelSize.height}; // Picture6
inline constexpr Rect kCardLinkImage{8220, 8220, 240, 240};   // Image1
inline constexpr Rect kCardLink{8520, 8250, 1080, 195};       // Label7 "打印注射卡"

// Colours.
inline constexpr int kDeskRed = 0, kDeskGreen = 128, kDeskBlue = 128;
inline constexpr int kShadowGrey = 64;
inline constexpr int kLinkRed = 128, kLinkGreen = 255, kLinkBlue = 255;

} // namespace quilloa::mainlayout
