#pragma once

#include "core/oldimport/ImportCounts.h"
#include "core/oldimport/JetFile.h"
#include "core/oldimport/OldData.h"
#include "core/store/StoreLocation.h"
#include "core/store/StorePaths.h"

#include <QDateTime>
#include <QString>

#include <functional>

namespace quilloa {

// Bringing the older program's data folder into the program's stores: read and check all of
// it, then write it in one go (see ImportWriter). The old files are only ever read.
class OldDataImport
{
public:
    struct Outcome
    {
        bool ok = false;
        QString message; // the report, or the reason nothing was written
        ImportCounts counts;
        QString savedFolder;
    };
    // Records read or written so far; `writing` is false while the old folder is read.
    using Progress = std::function<void(qint64 records, bool writing)>;

    explicit OldDataImport(StorePaths paths, JetFileOpener opener = defaultOpener());
    static JetFileOpener defaultOpener();

    // Reads the old folder whole: what is shown before anything is written.
    [[nodiscard]] JetStatus survey(const QString& oldFolder, OldData& data,
                                   const Progress& progress = {}) const;
    // Writes what `data` holds, or with `dryRun` only counts what would be written.
    [[nodiscard]] Outcome write(const OldData& data, SettingsChoice choice, bool dryRun,
                                const QDateTime& now, const Progress& progress = {}) const;
    // Both, for the command line: the stores in use at `location` (only the data folder's
    // files can be imported into).
    [[nodiscard]] Outcome run(const QString& oldFolder, const StoreLocation& location, bool dryRun,
                              const QDateTime& now) const;

    // Why nothing is imported into a server's database, and what to do instead.
    static QString serverRefusal(const StoreLocation& location);

private:
    StorePaths m_paths;
    JetFileOpener m_opener;
};

} // namespace quilloa
