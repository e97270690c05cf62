#pragma once

#include "core/backup/BackupSource.h"
#include "core/startup/Clock.h"
#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "core/store/StoreLocation.h"
#include "core/store/StorePaths.h"

#include <memory>

namespace quilloa {

// What every window needs to know about the running program: where its files and stores are
// and what time it is. Small and copyable; windows keep their own copy.
class AppContext : public BackupSource
{
public:
    // The stores are the store files of the data folder, or the server `location` names.
    AppContext(const QString& programFolder, std::shared_ptr<const Clock> clock,
               const StoreLocation& location = StoreLocation());

    const StorePaths& paths() const override { return m_paths; }
    const Clock& clock() const { return *m_clock; }
    const StoreLocation& location() const { return m_location; }
    // Where the data is kept, for the user: the data folder or the server, never a password.
    QString storeDescription() const;

    ArchiveStore archive() const { return m_archive; }
    SettingsStore settings() const { return m_settings; }

    StoreConnection storeInUse() const override { return m_archive.file(); }
    QDateTime now() const override { return m_clock->now(); }

private:
    StorePaths m_paths;
    std::shared_ptr<const Clock> m_clock;
    StoreLocation m_location;
    // Made once, so a lookup at every keystroke copies them instead of resolving paths again.
    ArchiveStore m_archive;
    SettingsStore m_settings;
};

} // namespace quilloa
