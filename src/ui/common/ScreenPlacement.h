#pragma once

class QWidget;

namespace quilloa {

// Where a top-level window first stands on the screen.
class ScreenPlacement
{
public:
    // Centres the window on the primary screen, `raiseTwips` higher than the middle; nothing
    // happens without a screen.
    static void centreOnScreen(QWidget* window, int raiseTwips = 0);
};

} // namespace quilloa
