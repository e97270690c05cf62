#pragma once

#include <QString>

class QTextEdit;

namespace quilloa {

// Edits of the prescription body made by the drug picker and the usage keys. Texts come in
// with CR LF line ends, the body's stored form.
class BodyEditing
{
public:
    // Appends a picked drug's lines at the end of the body, wherever the caret stood, and puts
    // the caret after the last character.
    static void appendDrug(QTextEdit* body, const QString& entryText);
    // Replaces the body's selection by `text`, or inserts it at the caret.
    static void insertAtCaret(QTextEdit* body, const QString& text);
};

} // namespace quilloa
