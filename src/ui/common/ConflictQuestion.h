#pragma once

#include <QString>

class QWidget;

namespace quilloa {

// Asks what to do with a value the user changed that another room (another workstation on the
// same store) changed too since this window read it. The texts are shown as plain text.
class ConflictQuestion
{
public:
    enum class Answer
    {
        KeepMine,   // write the user's value over the other room's
        TakeTheirs, // drop the user's value for the other room's
        Cancel,     // write nothing for now; what was typed stays in the window
    };
    // `what` names the value ("“名称”", "药品“阿莫西林”"); `theirs` and `mine` are shown as they
    // stand, or left out when both are empty (a password is never shown).
    static Answer ask(QWidget* parent, const QString& title, const QString& what,
                      const QString& theirs, const QString& mine);
};

} // namespace quilloa
