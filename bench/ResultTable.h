#pragma once

#include "Timing.h"

#include <QList>
#include <QString>

#include <optional>

namespace quilloa::bench {

// What one operation must achieve: a median in milliseconds and, for store operations, a
// largest ratio to the same SQL on plain SQLite. Either may be absent. A goal that promises
// a limit on every single run (`onSlowest`) is held on the slowest run instead of the median.
struct Goal
{
    std::optional<double> maxMs;
    std::optional<double> maxRatio;
    bool onSlowest = false;

    QString text() const;
};

struct ResultRow
{
    QString operation;
    QString size;
    std::optional<Timing> ours; // none: the operation could not be measured
    std::optional<Timing> raw;  // the same SQL prepared and finalized at each call
    Goal goal;
    QString note; // why it was not measured
    // The same SQL on a statement kept compiled between calls: the ratio is taken to this
    // side when it was timed.
    std::optional<Timing> rawKept = std::nullopt;

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
