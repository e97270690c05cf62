#pragma once

#include "core/store/ArchiveStore.h"

#include <QString>

namespace quilloa {

// Whether a typed password opens the program: blanks around either text and the case of
// letters do not count, so a password set as "Abc" is accepted as " abc ". The stored value is
// a hash (PasswordHash); a clear password left by an older version is still accepted once and
// then replaced by its hash. A stored value with the hash's tag that does not parse lets
// nobody in.
class LoginCheck
{
public:
    enum class Verdict
    {
        Refused,
        Accepted,
        AcceptedClear, // right, against a password an older version stored in clear
    };

    static Verdict check(const QString& typed, const QString& stored);
    static bool accepts(const QString& typed, const QString& stored)
    {
        return check(typed, stored) != Verdict::Refused;
    }
    struct Outcome
    {
        bool accepted = false;
        // Why a clear password that opened the program is still stored in clear; the next login
        // tries the replacement again.
        StoreStatus upgrade = StoreStatus::success();

        explicit operator bool() const { return accepted; }
    };
    // Checks and, when the stored password was in clear, replaces it with its hash.
    [[nodiscard]] static Outcome acceptAndUpgrade(const QString& typed, const QString& stored,
                                                  ArchiveStore archive);
};

} // namespace quilloa
