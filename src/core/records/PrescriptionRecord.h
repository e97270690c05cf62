#pragma once

#include "core/records/Money.h"

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace quilloa {

// One row of 档案: a saved prescription.
struct PrescriptionRecord
{
    QString key;              // 名称: yyyy-mm-dd hh:mm:ss of the moment the sheet was started
    QString name;             // 姓名
    QString sex;              // 性别
    QString age;              // 年龄
    QString date;             // 日期: yyyy-mm-dd
    QString diagnosis;        // 诊断
    QString address;          // 地址
    QString body;             // 处方: the body as a rich-text document
    QString doctor;           // 医生
    QString dispenser;        // 配药
    std::optional<Money> fee; // 收费; none when it holds no value
};

// One line of the archive list: the text 姓名[key], and the row it stands for.
struct ArchiveEntry
{
    qint64 rowId = 0;
    QString name;
    QString key;

    QString text() const { return name + QLatin1Char('[') + key + QLatin1Char(']'); }
    // The key as cut from an entry text: the 19 characters before the closing bracket.
    static QString keyFromText(const QString& entryText);
};

// A visit as the clinic log lists it: the register's columns of one record, as stored (UTF-8),
// valid only while the reader that receives it runs.
struct StoredVisit
{
    QByteArrayView name;      // 姓名
    QByteArrayView sex;       // 性别
    QByteArrayView age;       // 年龄
    QByteArrayView diagnosis; // 诊断
    QByteArrayView address;   // 地址
    QByteArrayView key;       // 名称
    std::optional<Money> fee;
};

} // namespace quilloa
