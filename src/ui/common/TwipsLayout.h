#pragma once

#include <span>

class QWidget;

namespace quilloa {

// Where one control of a window stands, in twips relative to its container. A width and
// height of 0 mark a label that sizes itself to its text.
struct TwipsPlacement
{
    const char16_t* objectName;
    int left;
    int top;
    int width;
    int height;
};

// Lays a window out from its declarative table of placements.
class TwipsLayout
{
public:
    // Places every listed control found by its objectName among the window's descendants.
    static void apply(QWidget* window, std::span<const TwipsPlacement> placements);
    // A fixed client area of the given size, centred on the primary screen; scrolled inside
    // a window that fits when the screen is too small for it. Call it after apply().
    static void fixAndCentre(QWidget* window, int widthTwips, int heightTwips);
};

} // namespace quilloa
