#include "ui/common/TwipsLayout.h"

#include "ui/common/ScreenPlacement.h"
#include "ui/common/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QString>
#include <QWidget>

namespace quilloa {

void TwipsLayout::apply(QWidget* window, std::span<const TwipsPlacement> placements)
{
    for (const TwipsPlacement& place : placements) {
        auto* control = window->findChild<QWidget*>(QString::fromUtf16(place.objectName));
        if (!control)
            continue;
        if (place.width == 0 && place.height == 0) {
            control->move(twipsToPixels(place.left), twipsToPixels(place.top));
            control->adjustSize();
        } else {
            control->setGeometry(twipsRect(place.left, place.top, place.width, place.height));
        }
    }
}

void TwipsLayout::fixAndCentre(QWidget* window, int widthTwips, int heightTwips)
{
    window->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    ScreenPlacement::fixOrScroll(window,
                                 QSize(twipsToPixels(widthTwips), twipsToPixels(heightTwips)));
    ScreenPlacement::centreOnScreen(window);
}

} // namespace quilloa
