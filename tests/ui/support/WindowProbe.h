#pragma once

#include <QTest>
#include <QWidget>

#include <memory>
#include <utility>

namespace quilloa::test {

// Owns the window under test and finds its controls by their object names, as a user finds
// them by sight. A control that is missing stops the test at once with its name, so a renamed
// control is reported where it is looked for rather than as a crash further on.
template <class Window> class WindowProbe
{
public:
    // Makes the window afresh, shows it and waits until it is the active one, so that focus
    // and keys reach it as they would for the user.
    template <class... Args> bool open(Args&&... args)
    {
        m_window = std::make_unique<Window>(std::forward<Args>(args)...);
        m_window->show();
        return QTest::qWaitForWindowActive(m_window.get());
    }
    void reset() { m_window.reset(); }

    Window* get() const { return m_window.get(); }
    Window* operator->() const { return m_window.get(); }
    Window& operator*() const { return *m_window; }
    explicit operator bool() const { return bool(m_window); }

    template <class Control> Control* find(const QString& objectName) const
    {
        Control* found = m_window ? m_window->template findChild<Control*>(objectName) : nullptr;
        if (!found)
            qFatal("no control %s", qPrintable(objectName));
        return found;
    }

private:
    std::unique_ptr<Window> m_window;
};

} // namespace quilloa::test
