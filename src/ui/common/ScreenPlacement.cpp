#include "ui/common/ScreenPlacement.h"

#include "ui/common/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quilloa {

void ScreenPlacement::centreOnScreen(QWidget* window, int raiseTwips)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    window->move(area.x() + (area.width() - window->width()) / 2,
                 area.y() + (area.height() - twipsToPixels(raiseTwips) - window->height()) / 2);
}

} // namespace quilloa
