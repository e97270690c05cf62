#pragma once

#include "core/startup/Clock.h"
#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "core/store/StorePaths.h"

#include <memory>

namespace quilloa {

// What every window needs to know about the running program: where its files are and what
// time it is. Small and copyable; windows keep their own copy.
class AppContext
{
public:
    AppContext(const QString& programFolder, std::shared_ptr<const Clock> clock);

    const StorePaths& paths() const { return m_paths; }
    const Clock& clock() const { return *m_clock; }

    ArchiveStore archive() const { return m_archive; }
    SettingsStore settings() const { return m_settings; }

private:
    StorePaths m_paths;
    std::shared_ptr<const Clock> m_clock;
    // Made once, so a lookup at every keystroke copies them instead of resolving paths again.
    ArchiveStore m_archive;
    SettingsStore m_settings;
};

} // namespace quilloa
