#include "ui/entry/SheetLineEdit.h"

#include "ui/entry/TypingLimitValidator.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace quilloa {

SheetLineEdit::SheetLineEdit(int index, int typingLimit, QWidget* parent)
    : QLineEdit(parent), m_index(index), m_typingLimit(typingLimit)
{
    setObjectName(QStringLiteral("Text4_%1").arg(index));
    // Connected before anyone else, so the validator always compares with the text as it stood
    // before the edit it judges.
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_acceptedLength = int(text.size()); });
    setValidator(new TypingLimitValidator(
        typingLimit, [this] { return m_acceptedLength; }, [this] { return m_typing; }, this));
}

template <class Edit> void SheetLineEdit::typed(Edit edit)
{
    const bool outer = m_typing;
    m_typing = true;
    edit();
    m_typing = outer;
}

void SheetLineEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_enterTarget && m_enterTarget->isVisible() && m_enterTarget->isEnabled())
            m_enterTarget->setFocus(Qt::TabFocusReason);
        else
            focusNextChild();
        event->accept();
        return;
    case Qt::Key_Down:
        emit downPressed(m_index);
        event->accept();
        return;
    default:
        if (event->matches(QKeySequence::Paste) && !isReadOnly()) {
            pasteWhatFits();
            event->accept();
            return;
        }
        typed([&] { QLineEdit::keyPressEvent(event); });
    }
}

void SheetLineEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    emit focused(m_index);
}

void SheetLineEdit::mouseReleaseEvent(QMouseEvent* event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(m_index);
}

// A committed phrase longer than the room left is cut to fit, as typing it key by key would be.
void SheetLineEdit::inputMethodEvent(QInputMethodEvent* event)
{
    const QString commit = event->commitString();
    const int fits = room();
    if (commit.size() <= fits) {
        typed([&] { QLineEdit::inputMethodEvent(event); });
        return;
    }
    QInputMethodEvent trimmed(event->preeditString(), event->attributes());
    trimmed.setCommitString(commit.left(fits), event->replacementStart(),
                            event->replacementLength());
    typed([&] { QLineEdit::inputMethodEvent(&trimmed); });
    event->accept();
}

void SheetLineEdit::dropEvent(QDropEvent* event)
{
    typed([&] { QLineEdit::dropEvent(event); });
}

// The menu's paste is the user's edit as well.
void SheetLineEdit::contextMenuEvent(QContextMenuEvent* event)
{
    typed([&] { QLineEdit::contextMenuEvent(event); });
}

// A pasted text longer than the room left is cut to fit, as typing it would be.
void SheetLineEdit::pasteWhatFits()
{
    // A one-line field takes the clipboard's first line.
    const QString text = QGuiApplication::clipboard()->text().section(QLatin1Char('\n'), 0, 0);
    typed([&] { insert(text.left(room())); });
}

int SheetLineEdit::room() const
{
    const int kept = int(text().size() - selectedText().size());
    return std::max(0, m_typingLimit - kept);
}

} // namespace quilloa
