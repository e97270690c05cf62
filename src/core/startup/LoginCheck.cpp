#include "core/startup/LoginCheck.h"

namespace quilloa {

bool LoginCheck::accepts(const QString& typed, const QString& loginPassword)
{
    return typed.trimmed().toLower() == loginPassword.trimmed().toLower();
}

} // namespace quilloa
