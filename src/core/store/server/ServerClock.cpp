#include "core/store/server/ServerClock.h"

#include "core/store/sql/BoundQuery.h"

#include <QSqlQuery>
#include <QVariant>

#include <optional>

namespace quilloa {
namespace {

QString span(qint64 seconds)
{
    const qint64 minutes = seconds / 60;
    if (minutes < 120)
        return QStringLiteral("%1 分钟").arg(minutes);
    const qint64 hours = minutes / 60;
    if (hours < 48)
        return QStringLiteral("约 %1 小时").arg(hours);
    return QStringLiteral("约 %1 天").arg(hours / 24);
}

} // namespace

QString ServerClock::check(const StoreConnection& server, const QDateTime& roomNow)
{
    // The server reads its clock about halfway through the round trip.
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    std::optional<double> serverSeconds;
    const StoreStatus read = BoundQuery::read(
        server, QStringLiteral("SELECT extract(epoch FROM clock_timestamp())::float8"), {},
        [&serverSeconds](const QSqlQuery& q) { serverSeconds = q.value(0).toDouble(); });
    if (!read.ok() || !serverSeconds)
        return QString();
    const qint64 trip = QDateTime::currentMSecsSinceEpoch() - before;
    const qint64 roomMs = roomNow.toMSecsSinceEpoch() + trip / 2;
    const qint64 offset = (roomMs - qint64(*serverSeconds * 1000)) / 1000;
    if (std::chrono::seconds(qAbs(offset)) <= kTolerance)
        return QString();
    return warning(server.path(), offset, roomNow);
}

QString ServerClock::warning(const QString& server, qint64 offsetSeconds, const QDateTime& room)
{
    return QStringLiteral("这台电脑的时钟比%1 %2了%3（这台电脑现在是 %4）。新建处方的编号和就诊"
                          "日期取自这台电脑的时钟，这样会记错日子。请先把这台电脑的日期和时间"
                          "调准，再新建和保存处方。")
        .arg(server, offsetSeconds > 0 ? QStringLiteral("快") : QStringLiteral("慢"),
             span(qAbs(offsetSeconds)), room.toString(QStringLiteral("yyyy-MM-dd hh:mm")));
}

} // namespace quilloa
