#pragma once

#include <QDate>
#include <QString>
#include <QtGlobal>

namespace quilloa {

// One folder of 数据库备份 as the restore window lists it, read from its
// checked copies.
struct BackupCopy
{
    QString folder;         // full path of the folder
    QString name;           // the folder's name: "2009-05-10", "恢复前 2009-05-11 08-30-00"
    QDate date;             // from the name; invalid when the name holds none
    bool sound = false;     // both stores are there and pass the database's check
    qint64 recordCount = 0; // prescriptions in its archive
    QString lastVisitDate;  // the latest 日期 among them; empty when it holds none
    QString problem;        // why it cannot be restored, in plain Chinese; empty when sound

    QString archiveFile() const;
    QString settingsFile() const;
};

} // namespace quilloa
