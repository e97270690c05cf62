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

// What a list window tells when the entry it was asked to delete was deleted first, by
// another window or another consulting room; the window then shows the list as it is now.
inline QString alreadyDeletedText()
{
    return QStringLiteral("该条目已在别处删除，列表已刷新。");
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
