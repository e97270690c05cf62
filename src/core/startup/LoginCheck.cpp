#include "core/startup/LoginCheck.h"

#include "core/startup/PasswordHash.h"

#include <QCryptographicHash>

namespace quilloa {
namespace {

QByteArray digest(const QString& text)
{
    return QCryptographicHash::hash(PasswordHash::normalized(text).toUtf8(),
                                    QCryptographicHash::Sha256);
}

} // namespace

LoginCheck::Verdict LoginCheck::check(const QString& typed, const QString& stored)
{
    if (PasswordHash::isHash(stored))
        return PasswordHash::matches(typed, stored) ? Verdict::Accepted : Verdict::Refused;
    // Compared as digests, so neither the time nor the length of a clear password shows.
    return PasswordHash::sameBytes(digest(typed), digest(stored)) ? Verdict::AcceptedClear
                                                                  : Verdict::Refused;
}

LoginCheck::Outcome LoginCheck::acceptAndUpgrade(const QString& typed, const QString& stored,
                                                 ArchiveStore archive)
{
    Outcome outcome;
    const Verdict verdict = check(typed, stored);
    outcome.accepted = verdict != Verdict::Refused;
    if (verdict != Verdict::AcceptedClear || PasswordHash::normalized(stored).isEmpty())
        return outcome;
    const QString hash = PasswordHash::make(stored);
    outcome.upgrade = hash.isEmpty()
                          ? StoreStatus::failure(QStringLiteral("无法算出密码的加密形式。"))
                          : archive.setLoginPassword(hash);
    return outcome;
}

} // namespace quilloa
