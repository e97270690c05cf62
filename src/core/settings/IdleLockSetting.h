#pragma once

#include "core/store/StoreResult.h"

#include <QString>

namespace quilloa {

// After how many idle minutes the main window locks (0: never). Kept as the one number of
// idle-lock.conf in the data folder, beside store.conf: a lock belongs to the computer in front
// of the doctor, so each workstation sharing a server keeps its own, and the stores' tables,
// which backups, restores and the server copy all name column by column, stay as they are.
class IdleLockSetting
{
public:
    static constexpr int kLongest = 240;

    explicit IdleLockSetting(const QString& dataFolder = QString());

    bool isAvailable() const { return !m_path.isEmpty(); }
    // 0 when off, missing or unreadable; never more than kLongest.
    int minutes() const;
    StoreStatus setMinutes(int minutes) const;

private:
    QString m_path;
};

} // namespace quilloa
