#include "ui/entry/EntryFocusMemory.h"

#include <QEvent>
#include <QLineEdit>
#include <QTextEdit>

namespace quilloa {

EntryFocusMemory::EntryFocusMemory(QObject* parent) : QObject(parent) {}

void EntryFocusMemory::watchPlain(QLineEdit* field)
{
    field->installEventFilter(this);
}

void EntryFocusMemory::watchRich(QTextEdit* box)
{
    box->installEventFilter(this);
}

void EntryFocusMemory::recordPlain(QLineEdit* field)
{
    m_lastPlain = field;
    m_richActive = false;
}

void EntryFocusMemory::recordRich(QTextEdit* box)
{
    m_lastRich = box;
    m_richActive = true;
}

bool EntryFocusMemory::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (auto* field = qobject_cast<QLineEdit*>(watched))
            recordPlain(field);
        else if (auto* box = qobject_cast<QTextEdit*>(watched))
            recordRich(box);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quilloa
