#pragma once

#include "core/store/ArchiveStore.h"
#include "core/store/PrescriptionRecord.h"
#include "support/TestProgramFolder.h"

#include <QTest>

namespace quilloa::test {

// Stores one visit under its key, dated by the key's day, as a save from the sheet would.
inline void addVisit(const TestProgramFolder& folder, const QString& key, const QString& name)
{
    PrescriptionRecord record;
    record.key = key;
    record.name = name;
    record.date = key.left(10);
    QVERIFY(ArchiveStore(folder.paths().archiveFile).add(record).ok());
}

} // namespace quilloa::test
