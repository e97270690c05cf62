#include "core/store/ArchiveStore.h"
#include "core/store/sql/BoundQuery.h"
#include "support/SetUp.h"
#include "support/TestProgramFolder.h"
#include "ui/entry/ArchiveListModel.h"

#include <QTest>

using namespace quilloa;
using quilloa::test::TestProgramFolder;

class TestArchiveListModel : public QObject
{
    Q_OBJECT
private slots:
    // Lines past the first block, a record removed after the search and a removed line must
    // each still show the right record's text.
    void linesReadLateShowTheirOwnRecords()
    {
        TestProgramFolder folder;
        ArchiveStore store(folder.paths().archiveFile);
        QList<qint64> rows;
        for (int i = 0; i < ArchiveListModel::kBlock * 2 + 5; ++i) {
            PrescriptionRecord r;
            r.name = QStringLiteral("病人%1").arg(i);
            r.key = QStringLiteral("2009-03-01 08:%1:00").arg(i % 60, 2, 10, QChar('0'));
            r.date = r.key.left(10);
            rows.prepend(store.add(r).value()); // newest first: the list need not be in row order
        }
        ArchiveListModel model;
        model.setRows(store, rows);
        QCOMPARE(model.rowCount(), int(rows.size()));
        // Removed after the search, before its line was first shown.
        QVERIFY(store.remove(rows.at(129), QStringLiteral("2009-03-01 08:03:00")).ok());
        const int last = int(rows.size()) - 1;
        QCOMPARE(model.index(last).data().toString(), QStringLiteral("病人0[2009-03-01 08:00:00]"));
        QVERIFY(!model.entryAt(129).has_value());
        QVERIFY(model.index(129).data().toString().isEmpty());
        QCOMPARE(model.entryAt(130)->name, QStringLiteral("病人2"));
        QCOMPARE(model.entryAt(0)->rowId, rows.first());

        QVERIFY(model.removeRows(0, 1));
        QVERIFY(!model.entryAt(128).has_value());
        QCOMPARE(model.entryAt(129)->name, QStringLiteral("病人2"));
        QCOMPARE(model.entryAt(last - 1)->name, QStringLiteral("病人0"));
        QVERIFY(!model.entryAt(last).has_value());
    }

    // Searches read a page at a time list exactly what the whole search finds, in its order,
    // the lines of the first page removed meanwhile: a record without a name is left out by the
    // pages as by the date-only search.
    void pagesListWhatTheWholeSearchFinds()
    {
        TestProgramFolder folder;
        ArchiveStore store(folder.paths().archiveFile);
        for (int i = 0; i < ArchiveListModel::kPage * 2 + 3; ++i) {
            PrescriptionRecord r;
            r.name = QStringLiteral("病人%1").arg(i);
            r.key = QStringLiteral("2009-03-01 08:%1:00").arg(i % 60, 2, 10, QChar('0'));
            r.date = i % 2 ? QStringLiteral("2009-03-01") : QStringLiteral("2010-04-02");
            test::setUp(store.add(r));
        }
        QVERIFY(BoundQuery::run(store.file(),
                                QStringLiteral("UPDATE [档案] SET [姓名] = NULL WHERE rowid = 7"),
                                {})
                    .ok());
        for (const QString& name : {QString(), QStringLiteral("病")}) {
            ArchiveListModel model;
            const auto first = store.searchFirst(name, QString(), ArchiveListModel::kPage);
            QVERIFY(first.ok() && first.value().paged);
            model.setFirstPage(store, name, QString(), first.value().rows);
            QVERIFY(model.removeRows(0, ArchiveListModel::kPage));
            while (model.canFetchMore(QModelIndex()))
                model.fetchMore(QModelIndex());
            const QList<qint64> whole = store.searchRows(name, QString()).value();
            QCOMPARE(model.rowCount(), int(whole.size()) - ArchiveListModel::kPage);
            QCOMPARE(model.entryAt(0)->rowId, whole.at(ArchiveListModel::kPage));
            QCOMPARE(model.entryAt(model.rowCount() - 1)->rowId, whole.last());
            QVERIFY(!whole.contains(7));
        }
        QCOMPARE(store.searchRows(QString(), QStringLiteral("2010")).value().size(),
                 ArchiveListModel::kPage + 1);
    }
};

QTEST_MAIN(TestArchiveListModel)
#include "TestArchiveListModel.moc"
