#pragma once

#include <QString>

namespace quilloa {

// Whether a typed password opens the program: blanks around either text and the case of
// letters do not count, so a password set as "Abc" is accepted as " abc ".
class LoginCheck
{
public:
    static bool accepts(const QString& typed, const QString& loginPassword);
};

} // namespace quilloa
