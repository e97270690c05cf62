#include "ui/maintenance/TypedEntry.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>

namespace quilloa {

TypedEntry::TypedEntry(QList<QLineEdit*> boxes)
{
    for (QLineEdit* box : boxes)
        m_boxes.append(box);
    markKept();
}

QStringList TypedEntry::texts() const
{
    QStringList all;
    for (const QPointer<QLineEdit>& box : m_boxes)
        all << (box ? box->text() : QString());
    return all;
}

void TypedEntry::markKept()
{
    m_kept = texts();
}

bool TypedEntry::hasUnkeptText() const
{
    return texts() != m_kept;
}

bool TypedEntry::holdsBackEscape(const QKeyEvent* event, QWidget* window) const
{
    if (!event->matches(QKeySequence::Cancel) || !hasUnkeptText())
        return false;
    return userKeepsTyping(window);
}

bool TypedEntry::holdsBackClose(QCloseEvent* event, QWidget* window) const
{
    if (!isUserClose(event, window) || !hasUnkeptText() || !userKeepsTyping(window))
        return false;
    event->ignore();
    return true;
}

// The window system delivers the close box's event as a spontaneous one; the program's own
// close(), and Qt's closing of every window as the program ends, do not.
bool TypedEntry::isUserClose(const QCloseEvent* event, const QWidget* window)
{
    return event->spontaneous() && window->isVisible();
}

bool TypedEntry::userKeepsTyping(QWidget* window)
{
    QMessageBox ask(QMessageBox::Question, window->windowTitle(),
                    QStringLiteral("输入的内容还没有保存，关闭窗口会丢掉这些内容。\n"
                                   "确实要关闭吗？"),
                    QMessageBox::Yes | QMessageBox::No, window);
    ask.setTextFormat(Qt::PlainText);
    ask.setDefaultButton(QMessageBox::No);
    ask.setEscapeButton(QMessageBox::No);
    ask.button(QMessageBox::Yes)->setText(QStringLiteral("关闭"));
    ask.button(QMessageBox::No)->setText(QStringLiteral("继续输入"));
    return ask.exec() != QMessageBox::Yes;
}

} // namespace quilloa
