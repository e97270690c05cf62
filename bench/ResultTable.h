#pragma once

#include "Timing.h"

#include <QList>
#include <QString>

#include <optional>

namespace quilloa::bench {

// What one operation must achieve: a median in milliseconds and, for store operations, a
// largest ratio to the same SQL on plain SQLite. Either may be absent.
struct Goal
{
    std::optional<double> maxMs;
    std::optional<double> maxRatio;

    QString text() const;
};

struct ResultRow
{
    QString operation;
    QString size;
    std::optional<Timing> ours; // none: the operation could not be measured
    std::optional<Timing> raw;
    Goal goal;
    QString note; // why it was not measured

    std::optional<double> ratio() const;
    // "pass", "FAIL", "n/a" (not measured) or "-" (no goal).
    QString verdict() const;
};

// The benchmark's one table, printed as Markdown.
class ResultTable
{
public:
    void add(ResultRow row);
    void skip(const QString& operation, const QString& size, const Goal& goal,
              const QString& reason);

    const QList<ResultRow>& rows() const { return m_rows; }
    int failures() const;
    QString markdown() const;

private:
    QList<ResultRow> m_rows;
};

} // namespace quilloa::bench
