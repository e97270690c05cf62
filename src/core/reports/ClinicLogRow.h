#pragma once

#include "core/store/Money.h"

#include <QString>
#include <QStringList>

#include <optional>

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
    // 收费: not a register column, but exports list it; none when the fee holds no value.
    std::optional<Money> fee;

    // The register's seven cells: the fields above and an empty notes cell.
    QStringList cells() const;
    // The headings of the register's seven columns.
    static QStringList headings();
};

} // namespace quilloa
