#include "ResultTable.h"

#include <QStringList>

namespace quilloa::bench {
namespace {

QString milliseconds(double ms)
{
    if (ms >= 100)
        return QString::number(ms, 'f', 0);
    if (ms >= 10)
        return QString::number(ms, 'f', 1);
    if (ms >= 1)
        return QString::number(ms, 'f', 2);
    return QString::number(ms, 'f', 3);
}

QString timingText(const Timing& t)
{
    return QStringLiteral("%1 (%2–%3)")
        .arg(milliseconds(t.median), milliseconds(t.min), milliseconds(t.max));
}

} // namespace

QString Goal::text() const
{
    QStringList parts;
    if (maxMs)
        parts << (onSlowest ? QStringLiteral("slowest ≤ %1 ms") : QStringLiteral("≤ %1 ms"))
                     .arg(*maxMs);
    if (maxRatio)
        parts << QStringLiteral("≤ %1 × raw").arg(*maxRatio);
    return parts.isEmpty() ? QStringLiteral("-") : parts.join(QStringLiteral(", "));
}

std::optional<double> ResultRow::ratio() const
{
    const std::optional<Timing>& base = rawKept ? rawKept : raw;
    if (!ours || !base || base->median <= 0)
        return std::nullopt;
    return ours->median / base->median;
}

QString ResultRow::verdict() const
{
    if (!ours)
        return QStringLiteral("n/a");
    if (!goal.maxMs && !goal.maxRatio)
        return QStringLiteral("-");
    bool pass = !goal.maxMs || (goal.onSlowest ? ours->max : ours->median) <= *goal.maxMs;
    if (goal.maxRatio)
        pass = pass && ratio() && *ratio() <= *goal.maxRatio;
    return pass ? QStringLiteral("pass") : QStringLiteral("FAIL");
}

void ResultTable::add(ResultRow row)
{
    m_rows.append(std::move(row));
}

void ResultTable::skip(const QString& operation, const QString& size, const Goal& goal,
                       const QString& reason)
{
    add({operation, size, std::nullopt, std::nullopt, goal, reason});
}

int ResultTable::failures() const
{
    int count = 0;
    for (const ResultRow& row : m_rows)
        count += row.verdict() == u"FAIL" ? 1 : 0;
    return count;
}

QString ResultTable::markdown() const
{
    QStringList lines = {
        QStringLiteral("| operation | size | median ms (min–max) | raw ms | raw kept ms | "
                       "ours / raw | goal | result |"),
        QStringLiteral("|---|---|---|---|---|---|---|---|"),
    };
    for (const ResultRow& row : m_rows) {
        const QString measured = row.ours ? timingText(*row.ours) : row.note;
        const QString raw = row.raw ? milliseconds(row.raw->median) : QStringLiteral("-");
        const QString kept = row.rawKept ? milliseconds(row.rawKept->median) : QStringLiteral("-");
        const QString ratio =
            row.ratio() ? QString::number(*row.ratio(), 'f', 2) : QStringLiteral("-");
        lines << QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 | %8 |")
                     .arg(row.operation, row.size, measured, raw, kept, ratio, row.goal.text(),
                          row.verdict());
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace quilloa::bench
