#pragma once

#include <QString>

namespace quilloa {

// Where the program keeps its files, all below the program folder.
struct StorePaths
{
    explicit StorePaths(const QString& programFolder);

    QString programFolder;
    QString dataFolder;   // 数据库
    QString archiveFile;  // 数据库/档案.dat
    QString settingsFile; // 数据库/设置.dat
    QString backupFolder; // 数据库备份
};

} // namespace quilloa
