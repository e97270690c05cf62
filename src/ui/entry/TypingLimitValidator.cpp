#include "entry/TypingLimitValidator.h"

namespace quilloa {

TypingLimitValidator::TypingLimitValidator(int limit, std::function<int()> acceptedLength,
                                           QObject* parent)
    : QValidator(parent), m_limit(limit), m_acceptedLength(std::move(acceptedLength))
{
}

QValidator::State TypingLimitValidator::validate(QString& input, int& /*pos*/) const
{
    if (input.size() <= m_limit || input.size() <= m_acceptedLength())
        return Acceptable;
    return Invalid;
}

} // namespace quilloa
