#pragma once

#include "core/records/PrescriptionRecord.h"
#include "core/records/StoredTextBlocks.h"
#include "core/reports/ClinicLogRow.h"

#include <QList>

namespace quilloa {

// Gathers the visits of one clinic-log read as rows whose texts are copied, as stored, into a
// few shared blocks.
class ClinicLogRows
{
public:
    void add(const StoredVisit& visit);
    QList<ClinicLogRow> take();

    // The bytes of a record key that make its visit time: its first 16 characters.
    static QByteArrayView visitTime(QByteArrayView key);

private:
    StoredTextBlocks m_blocks;
    QList<ClinicLogRow> m_rows;
};

} // namespace quilloa
