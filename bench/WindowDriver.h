#pragma once

#include <QString>
#include <QWidget>

class QAbstractButton;
class QAction;

namespace quilloa::bench {

// Drives the program's windows as a user would, finding controls by their object names.
class WindowDriver
{
public:
    // Lets queued work, layout and painting run, as the event loop would between inputs.
    static void settle();
    // Runs the event loop until `shown` has been painted (at most a second); false when it was
    // not. A clock read after it has run to the painted screen.
    static bool painted(QWidget* shown);
    // The same for the first paint of any widget in `window`: a change that redraws some of
    // them, but not the window's own background, is on the screen once it returns.
    static bool paintedWithin(QWidget* window);
    // The visible top-level window of that name, if any.
    static QWidget* window(const QString& objectName);
    // The control of that name inside `scope`, if any.
    template <class Control> static Control* find(QWidget* scope, const QString& objectName)
    {
        return scope ? scope->findChild<Control*>(objectName) : nullptr;
    }

    // Inputs are handled when these return; what the handlers left for later (painting,
    // deferred layout) waits for settle() or painted().
    static bool trigger(QWidget* window, const QString& actionName);
    static void type(QWidget* control, QChar letter);
    static void click(QAbstractButton* button);
    // Closes a window and lets it be deleted.
    static void close(QWidget* window);
    // Makes `window` the active one, so focus changes reach its fields.
    static bool activate(QWidget* window);
};

} // namespace quilloa::bench
