#include "ui/common/MenuShortcutsFirst.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace quilloa {

MenuShortcutsFirst::MenuShortcutsFirst(QWidget* window, QMenuBar* menuBar)
    : QObject(window), m_window(window), m_menuBar(menuBar)
{
}

void MenuShortcutsFirst::install(QWidget* window, QMenuBar* menuBar)
{
    // On the application: the box that holds the focus is asked first, before any parent.
    QCoreApplication::instance()->installEventFilter(new MenuShortcutsFirst(window, menuBar));
}

bool MenuShortcutsFirst::isMenuKey(const QKeyEvent* key) const
{
    const QKeySequence typed(key->keyCombination());
    for (const QAction* title : m_menuBar->actions()) {
        if (!title->menu())
            continue;
        for (const QAction* item : title->menu()->actions())
            if (item->isEnabled() && !item->shortcut().isEmpty() && item->shortcut() == typed)
                return true;
    }
    return false;
}

// A ShortcutOverride event that nobody accepts lets the shortcut run; kept from the box, it
// stays unaccepted.
bool MenuShortcutsFirst::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
        return false;
    if (static_cast<QWidget*>(watched)->window() != m_window)
        return false;
    return isMenuKey(static_cast<QKeyEvent*>(event));
}

} // namespace quilloa
