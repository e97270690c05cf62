#pragma once

#include "core/records/Money.h"
#include "core/records/StoredTextBlocks.h"

#include <QByteArray>
#include <QExplicitlySharedDataPointer>
#include <QSharedData>
#include <QString>
#include <QStringList>
#include <QTypeInfo>

#include <array>
#include <optional>

namespace quilloa {

// One visit of the clinic log: a saved prescription as the register lists it. Its texts stay in
// the bytes they were stored as, shared with the other visits of one read, until a cell is
// drawn or written: a month of thousands of visits is read without six strings per visit.
class ClinicLogRow
{
public:
    static constexpr int kColumnCount = 7;
    static constexpr int kVisitTimeLength = 16; // yyyy-mm-dd hh:mm of the record key
    // The register's column widths in twips, as the window shows them and an export sizes them.
    static constexpr std::array<int, kColumnCount> kColumnWidths{1000, 500,  500, 3500,
                                                                 5000, 1550, 2100};
    // The register's texts, in column order; the notes column has none.
    enum Field
    {
        Name,      // 姓名
        Sex,       // 性别
        Age,       // 年龄
        Diagnosis, // 诊断
        Address,   // 地址
        VisitTime, // the record key without its seconds
        kFieldCount
    };
    using Lengths = std::array<int, kFieldCount>;

    ClinicLogRow() = default;
    ClinicLogRow(const QString& name, const QString& sex, const QString& age,
                 const QString& diagnosis, const QString& address, const QString& visitTime,
                 std::optional<Money> fee);
    // A visit whose texts lie one after the other in `texts` from `start` on.
    ClinicLogRow(QExplicitlySharedDataPointer<StoredTexts> texts, int start, const Lengths& lengths,
                 std::optional<Money> fee);

    QString text(Field field) const;
    QString name() const { return text(Name); }
    QString visitTime() const { return text(VisitTime); }
    // 收费: not a register column, but exports list it; none when the fee holds no value.
    const std::optional<Money>& fee() const { return m_fee; }

    // The register's seven cells: the texts above and an empty notes cell.
    QStringList cells() const;
    // The headings of the register's seven columns.
    static QStringList headings();

private:
    QExplicitlySharedDataPointer<StoredTexts> m_texts;
    int m_start = 0;
    Lengths m_lengths{};
    std::optional<Money> m_fee;
};

} // namespace quilloa

// A month's thousands of rows grow their list by moving memory, not row by row.
Q_DECLARE_TYPEINFO(quilloa::ClinicLogRow, Q_RELOCATABLE_TYPE);
