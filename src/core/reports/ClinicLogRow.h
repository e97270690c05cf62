#pragma once

#include <QString>
#include <QStringList>

namespace quilloa {

// One visit of the clinic log: a saved prescription as the register lists it.
struct ClinicLogRow
{
    static constexpr int kColumnCount = 7;
    static constexpr int kVisitTimeLength = 16; // yyyy-mm-dd hh:mm of the record key

    QString name;      // 姓名
    QString sex;       // 性别
    QString age;       // 年龄
    QString diagnosis; // 诊断
    QString address;   // 地址
    QString visitTime; // the record key without its seconds

    // The register's seven cells: the fields above and an empty notes cell.
    QStringList cells() const;
    // The headings of the register's seven columns.
    static QStringList headings();
};

} // namespace quilloa
