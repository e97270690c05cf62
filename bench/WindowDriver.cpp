#include "WindowDriver.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

namespace quilloa::bench {

void WindowDriver::settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

namespace {

// Notes the first paint event `watched` receives.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(QWidget* watched) : m_watched(watched)
    {
        watched->installEventFilter(this);
    }
    ~PaintWatch() override { m_watched->removeEventFilter(this); }
    bool seen() const { return m_seen; }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_watched && event->type() == QEvent::Paint)
            m_seen = true;
        return false;
    }

private:
    QWidget* m_watched;
    bool m_seen = false;
};

} // namespace

bool WindowDriver::painted(QWidget* shown)
{
    if (!shown)
        return false;
    const PaintWatch watch(shown);
    QElapsedTimer waited;
    waited.start();
    settle();
    while (!watch.seen() && waited.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    // The paint handler has returned: the screen holds what it drew.
    return watch.seen();
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
