#pragma once

#include "core/records/PrescriptionRecord.h"
#include "core/store/ArchiveStore.h"
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

// Stores one visit on `date`, keyed on that day; feeText "" stands for a fee that holds no value.
inline void addVisit(ArchiveStore& store, const QString& date, const QString& feeText)
{
    static int serial = 0;
    PrescriptionRecord r;
    r.key = date.left(10) + QStringLiteral(" 08:%1:00").arg(++serial % 60, 2, 10, QLatin1Char('0'));
    r.name = QStringLiteral("张三");
    r.date = date;
    if (!feeText.isEmpty())
        r.fee = Money::fromLeadingNumber(feeText);
    QVERIFY(store.add(r).ok());
}

} // namespace quilloa::test
