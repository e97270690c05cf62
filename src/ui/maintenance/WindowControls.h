#pragma once

#include <QEvent>
#include <QKeyEvent>
#include <QLatin1String>
#include <QWidget>

#include <utility>

namespace quilloa::controls {

// A control made with its name, by which the window's table places it and tests find it.
template <class Control, class... Args> Control* named(const char* objectName, Args&&... args)
{
    auto* control = new Control(std::forward<Args>(args)...);
    control->setObjectName(QLatin1String(objectName));
    return control;
}

// Enter on the main keyboard or on the keypad.
inline bool isEnterPress(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace quilloa::controls
