#pragma once

#include <QString>

namespace quilloa {

// Where the two store files of the older program are: in the folder given, in its "数据库"
// folder (the old program folder was given), or given as one of the files themselves.
struct OldFolder
{
    QString archiveFile;  // 档案.dat; empty when there is none
    QString settingsFile; // 设置.dat; empty when there is none

    static OldFolder locate(const QString& path);
    bool isEmpty() const { return archiveFile.isEmpty() && settingsFile.isEmpty(); }
    bool hasArchiveFile() const { return !archiveFile.isEmpty(); }
    bool hasSettingsFile() const { return !settingsFile.isEmpty(); }
};

} // namespace quilloa
