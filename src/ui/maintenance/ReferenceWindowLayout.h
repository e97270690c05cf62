#pragma once

#include "ui/common/TwipsLayout.h"

#include <array>

// Where everything on the diagnosis and address windows stands, in twips.
namespace quilloa::referencewindow {

// The import and export buttons take one row below the window's own controls.
inline constexpr int kExchangeRowHeight = 480;
inline constexpr int kDiagnosisWidth = 5910;
inline constexpr int kDiagnosisHeight = 4485 + kExchangeRowHeight;
inline constexpr int kAddressWidth = 5940;
inline constexpr int kAddressHeight = 4545 + kExchangeRowHeight;

// Twips from the window's top-left corner.
inline constexpr std::array<TwipsPlacement, 9> kDiagnosisPlacements{{
    {u"Label5_1", 120, 180, 900, 180},
    {u"Text1", 1080, 120, 4695, 315},
    {u"List1", 120, 540, 5655, 2760},
    {u"Label1_0", 120, 3540, 900, 180},
    {u"Text3", 1080, 3480, 3195, 330},
    {u"Label1_1", 120, 4020, 900, 180},
    {u"Text5", 1080, 3960, 3195, 330},
    {u"Command2", 4440, 3480, 1335, 350},
    {u"Command1", 4440, 3960, 1335, 350},
}};
inline constexpr std::array<TwipsPlacement, 9> kAddressPlacements{{
    {u"Label5_1", 120, 180, 900, 180},
    {u"Text1", 1080, 120, 4695, 315},
    {u"List1", 120, 600, 5655, 2760},
    {u"Label1_0", 120, 3540, 900, 180},
    {u"Text3", 1020, 3480, 3315, 330},
    {u"Label1_1", 120, 4020, 900, 180},
    {u"Text5", 1020, 3960, 3255, 330},
    {u"Command2", 4440, 3480, 1335, 350},
    {u"Command1", 4440, 3960, 1335, 350},
}};
// The import and export buttons, in a row below the window's own controls.
inline constexpr std::array<TwipsPlacement, 2> kExchangePlacements{{
    {u"CommandImport", 3000, 4440, 1335, 350},
    {u"CommandExport", 4440, 4440, 1335, 350},
}};

} // namespace quilloa::referencewindow
