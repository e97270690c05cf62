#include "WindowDriver.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QTest>

namespace quilloa::bench {

void WindowDriver::settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

QWidget* WindowDriver::window(const QString& objectName)
{
    for (QWidget* candidate : QApplication::topLevelWidgets()) {
        if (candidate->objectName() == objectName && candidate->isVisible())
            return candidate;
    }
    return nullptr;
}

bool WindowDriver::trigger(QWidget* window, const QString& actionName)
{
    auto* action = window ? window->findChild<QAction*>(actionName) : nullptr;
    if (!action)
        return false;
    action->trigger();
    return true;
}

void WindowDriver::type(QWidget* control, QChar letter)
{
    QTest::keyClick(control, letter.toLatin1());
}

void WindowDriver::click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

void WindowDriver::close(QWidget* window)
{
    if (!window)
        return;
    window->close();
    settle();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool WindowDriver::activate(QWidget* window)
{
    window->activateWindow();
    window->raise();
    return QTest::qWaitForWindowActive(window, 1000);
}

} // namespace quilloa::bench
