#pragma once

#include <QList>

#include <functional>
#include <utility>

namespace quilloa::bench {

// Median, fastest and slowest of repeated runs, in milliseconds.
struct Timing
{
    double median = 0;
    double min = 0;
    double max = 0;
    int runs = 0;

    // Runs `operation` a few times unmeasured, then measures it at least `minRuns` times and
    // until about `budgetMs` have passed (at most `maxRuns` times).
    static Timing measure(const std::function<void()>& operation, int minRuns = 15,
                          int maxRuns = 400, double budgetMs = 800, int warmUps = 3);
    // The same for an operation with unmeasured preparation: it returns the milliseconds of
    // the part that counts.
    static Timing measureTimed(const std::function<double()>& operation, int minRuns = 15,
                               int maxRuns = 400, double budgetMs = 800, int warmUps = 3);
    // Times `ours` and `raw` run by run in turn, so a burst of load from elsewhere on the
    // machine falls on both sides of a ratio alike instead of on whichever ran during it.
    static std::pair<Timing, Timing> measureSideBySide(const std::function<void()>& ours,
                                                       const std::function<void()>& raw,
                                                       int minRuns = 15, int maxRuns = 400,
                                                       double budgetMs = 1600, int warmUps = 3);
    // The same for any number of sides, timed one run each in turn.
    static QList<Timing> measureInTurn(const QList<std::function<void()>>& sides, int minRuns = 15,
                                       int maxRuns = 400, double budgetMs = 1600, int warmUps = 3);
    static Timing of(QList<double> samples);
};

} // namespace quilloa::bench
