#include "Timing.h"

#include <QElapsedTimer>

#include <algorithm>

namespace quilloa::bench {

Timing Timing::measure(const std::function<void()>& operation, int minRuns, int maxRuns,
                       double budgetMs, int warmUps)
{
    return measureTimed(
        [&operation] {
            QElapsedTimer one;
            one.start();
            operation();
            return double(one.nsecsElapsed()) / 1e6;
        },
        minRuns, maxRuns, budgetMs, warmUps);
}

Timing Timing::measureTimed(const std::function<double()>& operation, int minRuns, int maxRuns,
                            double budgetMs, int warmUps)
{
    for (int i = 0; i < warmUps; ++i)
        operation();
    QList<double> samples;
    QElapsedTimer total;
    total.start();
    while (samples.size() < maxRuns &&
           (samples.size() < minRuns || double(total.nsecsElapsed()) / 1e6 < budgetMs))
        samples.append(operation());
    return of(samples);
}

std::pair<Timing, Timing> Timing::measureSideBySide(const std::function<void()>& ours,
                                                    const std::function<void()>& raw, int minRuns,
                                                    int maxRuns, double budgetMs, int warmUps)
{
    const QList<Timing> both = measureInTurn({ours, raw}, minRuns, maxRuns, budgetMs, warmUps);
    return {both.at(0), both.at(1)};
}

QList<Timing> Timing::measureInTurn(const QList<std::function<void()>>& sides, int minRuns,
                                    int maxRuns, double budgetMs, int warmUps)
{
    const auto timed = [](const std::function<void()>& operation) {
        QElapsedTimer one;
        one.start();
        operation();
        return double(one.nsecsElapsed()) / 1e6;
    };
    for (int i = 0; i < warmUps; ++i) {
        for (const auto& side : sides)
            side();
    }
    QList<QList<double>> samples(sides.size());
    QElapsedTimer total;
    total.start();
    while (samples.first().size() < maxRuns &&
           (samples.first().size() < minRuns || double(total.nsecsElapsed()) / 1e6 < budgetMs)) {
        for (qsizetype i = 0; i < sides.size(); ++i)
            samples[i].append(timed(sides.at(i)));
    }
    QList<Timing> timings;
    for (const QList<double>& side : samples)
        timings.append(of(side));
    return timings;
}

Timing Timing::of(QList<double> samples)
{
    Timing t;
    if (samples.isEmpty())
        return t;
    std::sort(samples.begin(), samples.end());
    const qsizetype n = samples.size();
    t.median = n % 2 ? samples.at(n / 2) : (samples.at(n / 2 - 1) + samples.at(n / 2)) / 2;
    t.min = samples.first();
    t.max = samples.last();
    t.runs = int(n);
    return t;
}

} // namespace quilloa::bench
