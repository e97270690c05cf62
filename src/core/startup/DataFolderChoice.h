#pragma once

#include "core/startup/DataFolder.h"

#include <QString>

namespace quilloa {

// Chooses where the stores live. A copied installation keeps them beside the program as it
// always has; an installed program cannot (its folder belongs to the system), so it uses the
// user's data folder; --data overrides both.
class DataFolderChoice
{
public:
    // `explicitFolder` is the --data value (empty when not given); `userFolder` the user's data
    // folder, see userDataFolder().
    static DataFolder choose(const QString& programFolder, const QString& explicitFolder,
                             const QString& userFolder);

    // The per-user application data folder of the platform, e.g. ~/.local/share/Quilloa.
    static QString userDataFolder();

    // True when a file can really be made in `folder` (permission bits alone miss read-only
    // mounts and ACLs). The probe file is removed again.
    static bool isWritable(const QString& folder);

    // True when the program sits in an installed prefix: <prefix>/bin with its desktop entry
    // in <prefix>/share/applications (on Windows: the installer's uninstaller beside it). Such a
    // folder is never the data folder, even for root or an administrator.
    static bool isInstalledLayout(const QString& programFolder);

    static const char* desktopEntryName();
    static const char* uninstallerName();
};

} // namespace quilloa
