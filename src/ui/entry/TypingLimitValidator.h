#pragma once

#include <QValidator>

#include <functional>

namespace quilloa {

// Limits what a user can type into a field to a number of characters, while text the program
// puts in is kept whole: QLineEdit does not undo a program's setText on an invalid result, and
// an edit that does not make an over-long text longer (deleting from a picked name) is allowed.
class TypingLimitValidator : public QValidator
{
    Q_OBJECT
public:
    // `acceptedLength` gives the length of the text before the edit being validated.
    TypingLimitValidator(int limit, std::function<int()> acceptedLength, QObject* parent = nullptr);

    int limit() const { return m_limit; }
    State validate(QString& input, int& pos) const override;

private:
    int m_limit;
    std::function<int()> m_acceptedLength;
};

} // namespace quilloa
