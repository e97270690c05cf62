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
    const QByteArrayView texts[ClinicLogRow::kFieldCount] = {
        visit.name, visit.sex, visit.age, visit.diagnosis, visit.address, visitTime(visit.key)};
    qsizetype bytes = 0;
    for (const QByteArrayView& text : texts)
        bytes += text.size();
    // A full block stays with the rows in it and a new one is started: growing it would copy it.
    if (!m_block || m_block->bytes.size() + bytes > m_block->bytes.capacity()) {
        m_block = new ClinicLogTexts;
        m_block->bytes.reserve(qMax(kBlockBytes, bytes));
    }
    const int start = int(m_block->bytes.size());
    ClinicLogRow::Lengths lengths{};
    for (int field = 0; field < ClinicLogRow::kFieldCount; ++field) {
        m_block->bytes.append(texts[field]);
        lengths[field] = int(texts[field].size());
    }
    m_rows.append(ClinicLogRow(m_block, start, lengths, visit.fee));
}

QList<ClinicLogRow> ClinicLogRows::take()
{
    m_block.reset();
    return std::exchange(m_rows, {});
}

} // namespace quilloa
