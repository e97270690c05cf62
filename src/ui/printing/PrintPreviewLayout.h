#pragma once

#include <QSize>

// How large the print preview opens, in pixels: it lays itself out and only asks for room.
namespace quilloa::printpreview {

// Tall enough for a whole sheet where the screen allows; the buttons stay on the screen.
inline constexpr QSize kPreferredSize{760, 900};

} // namespace quilloa::printpreview
