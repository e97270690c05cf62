#include "ui/reports/DateComboBox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

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
    // An input method may hand its keys to the line edit itself rather than to the box.
    lineEdit()->installEventFilter(this);
}

// The box, not its line edit, holds the focus: the key reaches the box first, and the box passes
// it on to the line edit by a direct call that no event filter sees. Taken here, Enter neither
// travels on to the window's first button nor is lost in the line edit.
void DateComboBox::keyPressEvent(QKeyEvent* event)
{
    if (!takeEnter(event))
        QComboBox::keyPressEvent(event);
}

// The slim look above comes from a style sheet, under which the style draws no focus of its own:
// a frame in the highlight colour tells which box the keys go to.
void DateComboBox::paintEvent(QPaintEvent* event)
{
    QComboBox::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

bool DateComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && event->type() == QEvent::KeyPress &&
        takeEnter(static_cast<QKeyEvent*>(event)))
        return true;
    return QComboBox::eventFilter(watched, event);
}

bool DateComboBox::takeEnter(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    event->accept();
    emit entered();
    return true;
}

} // namespace quilloa
