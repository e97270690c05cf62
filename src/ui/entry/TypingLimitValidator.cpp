#include "ui/entry/TypingLimitValidator.h"

namespace quilloa {

TypingLimitValidator::TypingLimitValidator(int limit, std::function<int()> acceptedLength,
                                           std::function<bool()> typing, QObject* parent)
    : QValidator(parent), m_limit(limit), m_acceptedLength(std::move(acceptedLength)),
      m_typing(std::move(typing))
{
}

QValidator::State TypingLimitValidator::validate(QString& input, int& /*pos*/) const
{
    if (!m_typing() || input.size() <= m_limit || input.size() <= m_acceptedLength())
        return Acceptable;
    return Invalid;
}

} // namespace quilloa
