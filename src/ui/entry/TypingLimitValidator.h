#pragma once

#include <QValidator>

#include <functional>

namespace quilloa {

// Limits what a user types into a field to a number of characters, while text the program puts
// in is kept whole. The field says whether the edit being judged comes from the user's typing;
// an edit that does not make an over-long text longer (deleting from a picked name) is allowed.
class TypingLimitValidator : public QValidator
{
    Q_OBJECT
public:
    // `acceptedLength` gives the length of the text before the edit being validated; `typing`
    // whether that edit is the user's.
    TypingLimitValidator(int limit, std::function<int()> acceptedLength,
                         std::function<bool()> typing, QObject* parent = nullptr);

    int limit() const { return m_limit; }
    State validate(QString& input, int& pos) const override;

private:
    int m_limit;
    std::function<int()> m_acceptedLength;
    std::function<bool()> m_typing;
};

} // namespace quilloa
