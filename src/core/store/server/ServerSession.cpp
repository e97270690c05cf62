#include "core/store/server/ServerSession.h"

#include "core/store/server/ServerDriver.h"
#include "core/store/sql/BoundQuery.h"

#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <optional>

namespace quilloa {
namespace {

// Kept of what is left for the answer to the ending itself, which must come in time too.
constexpr std::chrono::milliseconds kAnswerTime(300);

} // namespace

StoreResult<bool> ServerSession::end(const StoreConnection& server, int backend)
{
    if (backend <= 0)
        return true;
    // A wait of 0 would not wait at all, and say it ended whether it did or not; one longer
    // than the session's statement limit would be cut off by the server.
    const auto within = std::min(ServerDriver::Deadline::left() - kAnswerTime,
                                 std::chrono::milliseconds(ServerDriver::replyLimit() / 2));
    const qint64 wait = std::max<qint64>(1, within.count());
    std::optional<bool> ended;
    const StoreStatus asked = BoundQuery::read(
        server,
        QStringLiteral("SELECT pg_terminate_backend(CAST(? AS integer), CAST(? AS bigint))"),
        {backend, wait}, [&ended](const QSqlQuery& q) { ended = q.value(0).toBool(); });
    if (!asked.ok())
        return asked;
    if (ended.value_or(false))
        return true;
    // False also for a process that had gone already.
    std::optional<bool> there;
    const StoreStatus looked = BoundQuery::read(
        server, QStringLiteral("SELECT count(*) > 0 FROM pg_stat_activity WHERE pid = ?"),
        {backend}, [&there](const QSqlQuery& q) { there = q.value(0).toBool(); });
    if (!looked.ok())
        return looked;
    return !there.value_or(true);
}

} // namespace quilloa
