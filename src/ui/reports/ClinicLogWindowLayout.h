#pragma once

#include "ui/common/TwipsLayout.h"

// Where everything on the clinic log window stands, in twips.
namespace quilloa::cliniclogwindow {

inline constexpr int kClientWidth = 14250;
inline constexpr int kClientHeight = 9180;
// The grid's rows; its column widths are the register's (ClinicLogRow::kColumnWidths).
inline constexpr int kGridRowHeight = 255;

inline constexpr TwipsPlacement kPlacements[] = {
    {u"MSFlexGrid1", 60, 60, 14115, 7635}, {u"Frame1", 240, 7980, 4515, 975},
    {u"Combo1_0", 180, 420, 735, 300},     {u"Label1", 960, 480, 180, 180},
    {u"Combo1_1", 1200, 420, 615, 300},    {u"Label2", 1860, 480, 180, 180},
    {u"Combo1_2", 2100, 420, 615, 300},    {u"Label3", 2760, 480, 180, 180},
    {u"Command1", 3120, 360, 1155, 375},   {u"Frame2", 4920, 7980, 3675, 975},
    {u"Combo1_3", 180, 420, 735, 300},     {u"Label6", 960, 480, 180, 180},
    {u"Combo1_4", 1200, 420, 615, 300},    {u"Label5", 1860, 480, 180, 180},
    {u"Command2", 2280, 360, 1155, 375},   {u"Command3", 10920, 8280, 1515, 435},
    {u"Command4", 12600, 8280, 1515, 435}, {u"Command5", 9240, 8280, 1515, 435},
    {u"Command6", 10920, 7770, 1515, 435},
};

} // namespace quilloa::cliniclogwindow
