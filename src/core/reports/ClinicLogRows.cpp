#include "core/reports/ClinicLogRows.h"

#include <utility>

namespace quilloa {

// Counted as the string's characters are: a character beyond the basic plane counts twice, and
// is left out whole rather than cut in half.
QByteArrayView ClinicLogRows::visitTime(QByteArrayView key)
{
    qsizetype at = 0;
    int characters = 0;
    while (at < key.size()) {
        const auto lead = uchar(key.at(at));
        const qsizetype bytes = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const int units = bytes == 4 ? 2 : 1;
        if (characters + units > ClinicLogRow::kVisitTimeLength || at + bytes > key.size())
            break;
        characters += units;
        at += bytes;
    }
    return key.first(at);
}

void ClinicLogRows::add(const StoredVisit& visit)
{
    const QByteArrayView time = visitTime(visit.key);
    const int start =
        m_blocks.append({visit.name, visit.sex, visit.age, visit.diagnosis, visit.address, time});
    const ClinicLogRow::Lengths lengths{int(visit.name.size()),    int(visit.sex.size()),
                                        int(visit.age.size()),     int(visit.diagnosis.size()),
                                        int(visit.address.size()), int(time.size())};
    m_rows.append(ClinicLogRow(m_blocks.block(), start, lengths, visit.fee));
}

QList<ClinicLogRow> ClinicLogRows::take()
{
    m_blocks.reset();
    return std::exchange(m_rows, {});
}

} // namespace quilloa
