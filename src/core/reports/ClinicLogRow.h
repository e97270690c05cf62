#pragma once

#include "core/store/Money.h"

#include <QString>
#include <QStringList>
#include <QTypeInfo>

#include <array>
#include <optional>

namespace quilloa {

// One visit of the clinic log: a saved prescription as the register lists it.
struct ClinicLogRow
{
    static constexpr int kColumnCount = 7;
    static constexpr int kVisitTimeLength = 16; // yyyy-mm-dd hh:mm of the record key
    // The register's column widths in twips, as the window shows them and an export sizes them.
    static constexpr std::array<int, kColumnCount> kColumnWidths{1000, 500,  500, 3500,
                                                                 5000, 1550, 2100};

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

// A month's thousands of rows grow their list by moving memory, not row by row.
Q_DECLARE_TYPEINFO(quilloa::ClinicLogRow, Q_RELOCATABLE_TYPE);
