#pragma once

#include "core/oldimport/ImportCounts.h"
#include "core/oldimport/OldData.h"

#include <QString>

namespace quilloa {

// The texts the window and the command line show of an import: what was found in the old
// folder, and what was done with it, in plain Chinese.
class ImportReport
{
public:
    static QString found(const OldData& data);
    static QString done(const OldData& data, const ImportCounts& counts, bool dryRun,
                        const QString& savedFolder);
    // The old settings record's clinic name and doctor, for showing it beside the current one.
    static QString settingsLine(const OldData& data);

private:
    static QString recordsLine(const ImportCounts& counts, bool dryRun);
    static QString listLine(const char* name, const ImportCounts::List& list, bool dryRun);
    static QString settingsDone(ImportCounts::Settings settings, bool dryRun);
    static QString passwordDone(ImportCounts::Password password, bool dryRun);
};

} // namespace quilloa
