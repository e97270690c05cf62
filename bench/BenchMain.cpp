#include "BenchDataSet.h"
#include "BenchGoals.h"
#include "BenchInputs.h"
#include "PostgresBench.h"
#include "ResultTable.h"
#include "StoreBench.h"
#include "WidgetBench.h"

#include "core/store/StoreConnection.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace quilloa::bench;

namespace {

// Generated folders live beside the build (build/bench-data) unless QUILLOA_BENCH_DATA says.
QString dataRoot()
{
    const QString chosen = qEnvironmentVariable("QUILLOA_BENCH_DATA");
    if (!chosen.isEmpty())
        return chosen;
    return QDir::cleanPath(QApplication::applicationDirPath() + QStringLiteral("/../bench-data"));
}

// Archives from the command line ("quilloa_bench 200000 village"): sizes, and the village
// archive where one surname dominates; all three by default.
std::vector<BenchDataSet> archives(const QString& root, const QStringList& arguments)
{
    std::vector<BenchDataSet> sets;
    bool village = false;
    for (const QString& argument : arguments.mid(1)) {
        if (argument == u"village")
            village = true;
        const int records = argument.toInt();
        if (records > 0)
            sets.emplace_back(root, records);
    }
    if (sets.empty() && !village) {
        sets.emplace_back(root, BenchDataSet::kSmallArchive);
        sets.emplace_back(root, BenchDataSet::kLargeArchive);
        village = true;
    }
    if (village)
        sets.emplace_back(root, BenchDataSet::kVillageArchive, true);
    return sets;
}

// Parts to run, from "--only=lists,archive,startup,postgresql"; all by default.
QStringList parts(const QStringList& arguments)
{
    QStringList chosen = {QStringLiteral("lists"), QStringLiteral("archive"),
                          QStringLiteral("startup"), QStringLiteral("postgresql")};
    for (const QString& argument : arguments.mid(1)) {
        if (argument.startsWith(QLatin1String("--only=")))
            chosen = argument.mid(7).split(QLatin1Char(','), Qt::SkipEmptyParts);
    }
    return chosen;
}

double peakMemoryMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

} // namespace

int main(int argc, char* argv[])
{
    // Windows are made and timed in-process without a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quilloa"));

    std::vector<BenchDataSet> sets = archives(dataRoot(), QApplication::arguments());
    for (BenchDataSet& set : sets) {
        QString error;
        if (!set.prepare(&error)) {
            std::fprintf(stderr, "Cannot prepare %s: %s\n", qPrintable(set.programFolder()),
                         qPrintable(error));
            return 2;
        }
    }

    ResultTable table;
    StoreBench stores(table);
    WidgetBench widgets(table);
    // The reference lists and start-up are timed beside the largest ordinary archive.
    const auto rank = [](const BenchDataSet& set) {
        return std::make_pair(!set.village(), set.records());
    };
    const auto largestSet = std::max_element(
        sets.begin(), sets.end(),
        [&rank](const BenchDataSet& a, const BenchDataSet& b) { return rank(a) < rank(b); });
    const BenchDataSet& largest = *largestSet;
    const BenchInputs largestInputs(largest);
    const QStringList run = parts(QApplication::arguments());
    if (run.contains(u"lists")) {
        std::fprintf(stderr, "Timing reference lists ...\n");
        stores.referenceLists(largest, largestInputs);
        widgets.referenceLists(largest, largestInputs);
    }
    for (const BenchDataSet& set : sets) {
        if (!run.contains(u"archive"))
            break;
        std::fprintf(stderr, "Timing the archive of %s ...\n", qPrintable(set.sizeText()));
        const BenchInputs inputs(set);
        stores.archive(set, inputs);
        widgets.archive(set, inputs);
        quilloa::StoreConnection::closeAll();
    }
    if (run.contains(u"startup")) {
        std::fprintf(stderr, "Timing start-up ...\n");
        widgets.startup(largest);
    }

    if (run.contains(u"postgresql")) {
        // Copying a million records into the server takes minutes; the village is left out.
        PostgresBench server(table);
        for (const BenchDataSet& set : sets) {
            if (set.village())
                continue;
            std::fprintf(stderr, "Timing the stores on PostgreSQL, %s ...\n",
                         qPrintable(set.sizeText()));
            server.run(set, BenchInputs(set));
        }
    }

    const QString markdown = table.markdown();
    const double peak = peakMemoryMiB();
    const bool memoryKept = peak <= goals::kPeakMemoryMiB;
    std::printf("\n%s\nPeak memory (max resident set): %.0f MiB, archive of %d records (goal "
                "<= %.0f MiB): %s\n",
                qPrintable(markdown), peak, largest.records(), goals::kPeakMemoryMiB,
                memoryKept ? "pass" : "FAIL");
    QFile saved(dataRoot() + QStringLiteral("/last-results.md"));
    if (saved.open(QIODevice::WriteOnly))
        saved.write(markdown.toUtf8());
    return table.failures() == 0 && memoryKept ? 0 : 1;
}
