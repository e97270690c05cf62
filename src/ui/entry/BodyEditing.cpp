#include "ui/entry/BodyEditing.h"

#include "core/entry/DrugEntryText.h"

#include <QTextCursor>
#include <QTextEdit>

namespace quilloa {

void BodyEditing::appendDrug(QTextEdit* body, const QString& entryText)
{
    const QString before = DrugEntryText::toCrLf(body->toPlainText());
    body->setPlainText(DrugEntryText::fromCrLf(DrugEntryText::bodyAfterPick(before, entryText)));
    body->moveCursor(QTextCursor::End);
}

void BodyEditing::insertAtCaret(QTextEdit* body, const QString& text)
{
    QTextCursor caret = body->textCursor();
    caret.insertText(DrugEntryText::fromCrLf(text));
    body->setTextCursor(caret);
}

} // namespace quilloa
