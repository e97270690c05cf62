#include "core/reports/ClinicLogRow.h"

#include <utility>

namespace quilloa {

ClinicLogRow::ClinicLogRow(const QString& name, const QString& sex, const QString& age,
                           const QString& diagnosis, const QString& address,
                           const QString& visitTime, std::optional<Money> fee)
    : m_texts(new StoredTexts), m_fee(fee)
{
    const QString texts[kFieldCount] = {name, sex, age, diagnosis, address, visitTime};
    for (int field = 0; field < kFieldCount; ++field) {
        const QByteArray bytes = texts[field].toUtf8();
        m_texts->bytes.append(bytes);
        m_lengths[field] = int(bytes.size());
    }
}

ClinicLogRow::ClinicLogRow(QExplicitlySharedDataPointer<StoredTexts> texts, int start,
                           const Lengths& lengths, std::optional<Money> fee)
    : m_texts(std::move(texts)), m_start(start), m_lengths(lengths), m_fee(fee)
{
}

QString ClinicLogRow::text(Field field) const
{
    if (!m_texts || field < 0 || field >= kFieldCount)
        return QString();
    int offset = m_start;
    for (int before = 0; before < field; ++before)
        offset += m_lengths[before];
    return QString::fromUtf8(m_texts->bytes.constData() + offset, m_lengths[field]);
}

QStringList ClinicLogRow::cells() const
{
    QStringList cells;
    for (int field = 0; field < kFieldCount; ++field)
        cells << text(Field(field));
    return cells << QString();
}

QStringList ClinicLogRow::headings()
{
    return {QStringLiteral("姓    名"), QStringLiteral("性别"),     QStringLiteral("年龄"),
            QStringLiteral("诊    断"), QStringLiteral("地    址"), QStringLiteral("就诊时间"),
            QStringLiteral("备    注")};
}

} // namespace quilloa
