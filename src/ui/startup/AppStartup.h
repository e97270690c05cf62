#pragma once

#include "core/startup/Clock.h"

#include <QString>

#include <memory>

class QWidget;

namespace quilloa {

// The program's entry: prepares the data folder, stores and backup for `programFolder`, then
// shows the login window (a login password is set) or the main window. Returns the window it
// showed; the caller owns it and keeps it for the run. Returns none when the user chose to end
// the program because the archive store could not be read, or when the store named by
// `storeText` (--store) or the data folder's store.conf cannot be used.
class AppStartup
{
public:
    static QWidget* start(const QString& programFolder, std::shared_ptr<const Clock> clock,
                          const QString& storeText = QString());
};

} // namespace quilloa
