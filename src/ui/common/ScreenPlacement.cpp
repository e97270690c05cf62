#include "ui/common/ScreenPlacement.h"

#include "ui/common/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace quilloa {
namespace {

// The frame is unknown until the window is shown; these hold a usual title bar and border.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 32;

// Hidden by the program itself, so it must stay hidden after moving into the scroll area.
bool isExplicitlyHidden(const QWidget* widget)
{
    return widget->testAttribute(Qt::WA_WState_ExplicitShowHide) &&
           widget->testAttribute(Qt::WA_WState_Hidden);
}

} // namespace

QRect ScreenPlacement::availableArea()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QSize ScreenPlacement::room()
{
    const QRect area = availableArea();
    if (area.isEmpty())
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    return QSize(std::max(1, area.width() - kFrameWidth),
                 std::max(1, area.height() - kFrameHeight));
}

bool ScreenPlacement::fits(const QSize& windowSize)
{
    const QSize space = room();
    return windowSize.width() <= space.width() && windowSize.height() <= space.height();
}

QSize ScreenPlacement::fitted(const QSize& wanted)
{
    return wanted.boundedTo(room());
}

QSize ScreenPlacement::fittedWithScrollBars(const QSize& content, int barExtent)
{
    const QSize space = room();
    QSize wanted = content;
    if (content.height() > space.height())
        wanted.rwidth() += barExtent;
    if (content.width() > space.width())
        wanted.rheight() += barExtent;
    return fitted(wanted);
}

void ScreenPlacement::centreOnScreen(QWidget* window, int raiseTwips)
{
    const QRect area = availableArea();
    if (area.isEmpty())
        return;
    const int x = area.x() + (area.width() - window->width()) / 2;
    const int y = area.y() + (area.height() - twipsToPixels(raiseTwips) - window->height()) / 2;
    // The frame must fit too: the right and bottom edges leave its room, the top left wins.
    const int lastX = area.x() + area.width() - window->width() - kFrameWidth;
    const int lastY = area.y() + area.height() - window->height() - kFrameHeight;
    window->move(std::max(area.x(), std::min(x, lastX)), std::max(area.y(), std::min(y, lastY)));
}

void ScreenPlacement::fixOrScroll(QWidget* window, const QSize& size)
{
    if (fits(size)) {
        window->setFixedSize(size);
        return;
    }
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("scrolledContent"));
    content->setFixedSize(size);
    for (QWidget* control : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control->isWindow())
            continue;
        const bool hidden = isExplicitlyHidden(control);
        const QRect place = control->geometry();
        control->setParent(content);
        control->setGeometry(place);
        control->setVisible(!hidden);
    }
    auto* scroll = new QScrollArea(window);
    scroll->setObjectName(QStringLiteral("scrollArea"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    const QSize fittedSize =
        fittedWithScrollBars(size, window->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    scroll->setGeometry(QRect(QPoint(0, 0), fittedSize));
    window->setFixedSize(fittedSize);
}

} // namespace quilloa
