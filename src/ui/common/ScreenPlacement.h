#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace quilloa {

// Where a top-level window first stands on the screen, and how large it may be there. At a
// large scale factor the screen has fewer logical pixels than a window laid out for 96 dpi, so
// every window is kept inside the screen's available area (without the panels and docks).
class ScreenPlacement
{
public:
    // The primary screen's available area; empty without a screen.
    static QRect availableArea();
    // The most a window's own area may take, leaving room for the frame and title bar the
    // window system adds; an unbounded size without a screen.
    static QSize room();
    static bool fits(const QSize& windowSize);
    // `wanted`, cut down to the room there is.
    static QSize fitted(const QSize& wanted);
    // The size of a scroll area showing `content` in the room there is: a bar is added only
    // across the side that scrolls, so the other side does not have to scroll for it.
    static QSize fittedWithScrollBars(const QSize& content, int barExtent);

    // Centres the window on the available area, `raiseTwips` higher than the middle; a window
    // too large for the area keeps its top left corner (and so its title bar) on the screen.
    // Nothing happens without a screen.
    static void centreOnScreen(QWidget* window, int raiseTwips = 0);

    // Fixes a window whose controls are placed by hand at `size`. When that does not fit on
    // the screen, the controls move into a scroll area that fills the room there is; a window
    // that fits is left exactly as laid out.
    static void fixOrScroll(QWidget* window, const QSize& size);
};

} // namespace quilloa
