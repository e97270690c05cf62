#pragma once

#include "core/reports/ClinicLogRow.h"
#include "core/store/PrescriptionRecord.h"

#include <QList>

namespace quilloa {

// Gathers the visits of one clinic-log read as rows whose texts are copied, as stored, into a
// few shared blocks: a month of thousands of visits costs little more than copying its bytes.
class ClinicLogRows
{
public:
    void add(const StoredVisit& visit);
    QList<ClinicLogRow> take();

    // The bytes of a record key that make its visit time: its first 16 characters.
    static QByteArrayView visitTime(QByteArrayView key);

private:
    static constexpr qsizetype kBlockBytes = 32 * 1024;

    QExplicitlySharedDataPointer<ClinicLogTexts> m_block;
    QList<ClinicLogRow> m_rows;
};

} // namespace quilloa
