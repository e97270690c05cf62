#include "ui/common/CodeComposition.h"

#include "core/entry/ComposedCode.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace quilloa {

CodeComposition* CodeComposition::watch(QLineEdit* box)
{
    return new CodeComposition(box);
}

CodeComposition::CodeComposition(QLineEdit* box) : QObject(box), m_box(box)
{
    m_box->installEventFilter(this);
    connect(m_box, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_lastLookup = text; });
}

QString CodeComposition::lookupText() const
{
    if (m_letters.isEmpty())
        return m_box->text();
    const QString text = m_box->text();
    const int caret = m_box->cursorPosition();
    return text.left(caret) + m_letters + text.mid(caret);
}

bool CodeComposition::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_box || m_delivering)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::InputMethod:
        deliverComposition(event);
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        keyArrived(event);
        break;
    case QEvent::FocusIn:
        m_committedSinceKey = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

// The box takes the event first (with its commit cleaned), so the lookup is asked for with the
// caret and text the box then holds.
void CodeComposition::deliverComposition(QEvent* event)
{
    auto* composition = static_cast<QInputMethodEvent*>(event);
    const bool commits = !composition->commitString().isEmpty();
    if (commits)
        composition->setCommitString(ComposedCode::cleaned(composition->commitString()),
                                     composition->replacementStart(),
                                     composition->replacementLength());
    m_letters = ComposedCode::letters(composition->preeditString());
    m_delivering = true;
    QCoreApplication::sendEvent(m_box, composition);
    m_delivering = false;
    if (commits)
        m_committedSinceKey = true;
    const QString lookup = lookupText();
    if (lookup != m_lastLookup) {
        m_lastLookup = lookup;
        emit composing(lookup);
    }
    if (commits && !m_box->hasFocus())
        emit committedAway();
}

// An input method that ends a composition on Enter keeps the key press and commits instead;
// only the release reaches the box. Such an Enter is handed to the box as the press it
// missed, so the doctor moves on with one Enter, as without an input method.
void CodeComposition::keyArrived(QEvent* event)
{
    const bool committed = m_committedSinceKey;
    m_committedSinceKey = false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!committed || !enter || event->type() != QEvent::KeyRelease || key->isAutoRepeat())
        return;
    QKeyEvent press(QEvent::KeyPress, key->key(), key->modifiers());
    QCoreApplication::sendEvent(m_box, &press);
}

} // namespace quilloa
