#pragma once

#include <QString>

namespace quilloa {

// Where the program keeps its files, all below the data folder (DataFolder: the program's own
// folder, the user's, or --data). Beware the member names: `programFolder` is that data
// folder, and `dataFolder` is its 数据库, the folder of the stores (the About window's
// 数据库文件夹).
struct StorePaths
{
    explicit StorePaths(const QString& programFolder);

    QString programFolder; // the data folder
    QString dataFolder;    // 数据库, the store folder
    QString archiveFile;   // 数据库/档案.dat
    QString settingsFile;  // 数据库/设置.dat
    QString backupFolder;  // 数据库备份
};

} // namespace quilloa
