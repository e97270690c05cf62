#pragma once

#include "ui/common/TwipsLayout.h"

// Where everything on the workload statistics window stands, in twips.
namespace quilloa::statisticswindow {

inline constexpr int kClientWidth = 4920;
// Taller than the two frames by one row, for the chart button.
inline constexpr int kClientHeight = 4290;

inline constexpr TwipsPlacement kPlacements[] = {
    {u"Frame1", 240, 240, 4455, 1575},    {u"Combo1_0", 180, 480, 735, 300},
    {u"Label1", 960, 540, 180, 180},      {u"Combo1_1", 1200, 480, 615, 300},
    {u"Label2", 1860, 540, 180, 180},     {u"Combo1_2", 2100, 480, 615, 300},
    {u"Label3", 2760, 540, 180, 180},     {u"Command1", 3120, 420, 1155, 375},
    {u"Picture1", 180, 960, 4095, 375},   {u"Label4", 60, 60, 0, 0},
    {u"Frame2", 240, 1980, 4455, 1575},   {u"Combo1_3", 180, 480, 735, 300},
    {u"Label6", 960, 540, 180, 180},      {u"Combo1_4", 1200, 480, 615, 300},
    {u"Label5", 1860, 540, 180, 180},     {u"Command2", 3120, 420, 1155, 375},
    {u"Picture2", 180, 960, 4095, 375},   {u"Label7", 60, 60, 0, 0},
    {u"Command3", 3360, 3720, 1335, 375},
};

} // namespace quilloa::statisticswindow
