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

// Notes the first paint event `watched` receives, or with `withinTree` the first of any of its
// widgets.
class PaintWatch : public QObject
{
public:
    PaintWatch(QWidget* watched, bool withinTree) : m_watched(watched), m_withinTree(withinTree)
    {
        filtered()->installEventFilter(this);
    }
    ~PaintWatch() override { filtered()->removeEventFilter(this); }
    bool seen() const { return m_seen; }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && covers(watched))
            m_seen = true;
        return false;
    }

private:
    QObject* filtered() const
    {
        return m_withinTree ? static_cast<QObject*>(qApp) : static_cast<QObject*>(m_watched);
    }
    bool covers(QObject* watched) const
    {
        if (watched == m_watched)
            return true;
        auto* widget = qobject_cast<QWidget*>(watched);
        return m_withinTree && widget && m_watched->isAncestorOf(widget);
    }

    QWidget* m_watched;
    bool m_withinTree;
    bool m_seen = false;
};

bool waitForPaint(QWidget* shown, bool withinTree)
{
    if (!shown)
        return false;
    const PaintWatch watch(shown, withinTree);
    QElapsedTimer waited;
    waited.start();
    WindowDriver::settle();
    while (!watch.seen() && waited.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    // The paint handler has returned: the screen holds what it drew.
    return watch.seen();
}

} // namespace

bool WindowDriver::painted(QWidget* shown)
{
    return waitForPaint(shown, false);
}

bool WindowDriver::paintedWithin(QWidget* window)
{
    return waitForPaint(window, true);
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
