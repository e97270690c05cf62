#include "ui/reports/DateComboBox.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace quilloa {

DateComboBox::DateComboBox(int index, const QStringList& entries, const QString& text,
                           QWidget* parent)
    : QComboBox(parent)
{
    setObjectName(QStringLiteral("Combo1_%1").arg(index));
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMaxVisibleItems(12);
    addItems(entries);
    // The list's entry when there is one, so the drop-down opens on it; otherwise just the text.
    setCurrentIndex(findText(text));
    setEditText(text);
    // The boxes are only 49 pixels wide: a slim arrow and no text margins leave room for a
    // whole year, shown from its first digit.
    lineEdit()->setTextMargins(0, 0, 0, 0);
    setStyleSheet(
        QStringLiteral("QComboBox { padding-left: 1px; } QComboBox::drop-down { width: 13px; }"));
    lineEdit()->setCursorPosition(0);
    // Enter would otherwise travel on to the window's first button, the day's query.
    lineEdit()->installEventFilter(this);
}

bool DateComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit entered();
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

} // namespace quilloa
