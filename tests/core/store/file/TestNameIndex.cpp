#include "core/store/ArchiveStore.h"
#include "core/store/StoreConnection.h"
#include "core/store/file/NameIndex.h"
#include "core/store/file/NameIndexBuilder.h"
#include "core/store/sql/BoundQuery.h"
#include "support/SetUp.h"
#include "support/StoreRows.h"
#include "support/TestProgramFolder.h"

#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

#include <functional>

using namespace quilloa;
using quilloa::test::TestProgramFolder;

namespace {

// Names that trip up a character index: Latin case, wildcards and quotes as characters, empty
// names, repeated characters, letters LIKE does not fold, a character outside the BMP.
const QStringList kNames = {
    QStringLiteral("王"),
    QStringLiteral("王五"),
    QStringLiteral("李王李"),
    QStringLiteral("Ann"),
    QStringLiteral("ANN"),
    QStringLiteral("anN王"),
    QStringLiteral("o'Neil"),
    QStringLiteral("100%"),
    QStringLiteral("a_b"),
    QStringLiteral("axb"),
    QString(),
    QStringLiteral("王_"),
    QStringLiteral("%"),
    QStringLiteral("_"),
    QStringLiteral("张 三"),
    QStringLiteral("Äb"),
    QStringLiteral("äB"),
    QStringLiteral("𠀀王"),
    QStringLiteral("王王王王王王王王王王"),
    QStringLiteral("五"),
};
const QStringList kPatterns = {
    QStringLiteral("王"),
    QStringLiteral("五"),
    QStringLiteral("a"),
    QStringLiteral("A"),
    QStringLiteral("N"),
    QStringLiteral("'"),
    QStringLiteral("%"),
    QStringLiteral("_"),
    QStringLiteral("a_b"),
    QStringLiteral("a%b"),
    QStringLiteral("0%"),
    QStringLiteral("王五"),
    QStringLiteral("五王"),
    QStringLiteral("Ä"),
    QStringLiteral("ä"),
    QStringLiteral("𠀀"),
    QString(),
    QStringLiteral(" "),
    QStringLiteral("张 三"),
    QStringLiteral("无"),
    QStringLiteral("王_"),
    QStringLiteral("_王"),
    QStringLiteral("%王%"),
    QStringLiteral("AnN"),
    QStringLiteral("李李"),
    QStringLiteral("b"),
};
const QStringList kDates = {QString(), QStringLiteral("2009"), QStringLiteral("2009-03"),
                            QStringLiteral("2009-03-01"), QStringLiteral("2010-")};

// The archive search as the plain query would answer it.
QStringList plainSearch(const StoreConnection& file, const QString& name, const QString& date)
{
    QStringList lines;
    const StoreStatus read = BoundQuery::read(
        file,
        QStringLiteral("SELECT rowid, [姓名], [名称] FROM [档案] WHERE [姓名] LIKE ? AND [日期] "
                       "LIKE ? ORDER BY rowid"),
        {QStringLiteral("%") + name + QStringLiteral("%"), date + QStringLiteral("%")},
        [&lines](const QSqlQuery& query) {
            lines << query.value(0).toString() + QLatin1Char(' ') + query.value(1).toString() +
                         QLatin1Char('[') + query.value(2).toString() + QLatin1Char(']');
        });
    if (!read.ok())
        qFatal("plain search failed: %s", qPrintable(read.error()));
    return lines;
}

QStringList indexSearch(const ArchiveStore& store, const QString& name, const QString& date)
{
    const auto found = store.search(name, date);
    if (!found.ok())
        qFatal("search failed: %s", qPrintable(found.error()));
    QStringList lines;
    for (const ArchiveEntry& e : found.value())
        lines << QString::number(e.rowId) + QLatin1Char(' ') + e.text();
    return lines;
}

QStringList linesOf(const ArchiveStore& store, const StoreResult<QList<qint64>>& rows)
{
    if (!rows.ok())
        qFatal("search failed: %s", qPrintable(rows.error()));
    const auto entries = store.entriesOf(rows.value());
    if (!entries.ok() || entries.value().size() != rows.value().size())
        qFatal("rows not read back");
    QStringList lines;
    for (const ArchiveEntry& e : entries.value())
        lines << QString::number(e.rowId) + QLatin1Char(' ') + e.text();
    return lines;
}

// The rows-only search, with each line's text read afterwards as the list does.
QStringList rowsSearch(const ArchiveStore& store, const QString& name, const QString& date)
{
    return linesOf(store, store.searchRows(name, date));
}

// The search as the list reads it: what it shows first, then page after page, each from the
// last row of the one before.
QStringList pagedSearch(const ArchiveStore& store, const QString& name, const QString& date)
{
    constexpr int kPage = 2;
    const auto first = store.searchFirst(name, date, kPage);
    if (!first.ok())
        qFatal("search failed: %s", qPrintable(first.error()));
    QList<qint64> rows = first.value().rows;
    for (QList<qint64> page = rows; first.value().paged && page.size() == kPage;) {
        page = store.searchRowsAfter(name, date, page.last(), kPage).value();
        rows += page;
    }
    return linesOf(store, rows);
}

void fill(ArchiveStore& store)
{
    for (int i = 0; i < 3 * int(kNames.size()); ++i) {
        PrescriptionRecord r;
        r.date = QStringLiteral("%1-%2-0%3")
                     .arg(2009 + i % 2)
                     .arg(i % 3 + 2, 2, 10, QChar('0'))
                     .arg(i % 2 + 1);
        r.key = r.date + QStringLiteral(" 08:00:%1").arg(i % 60, 2, 10, QChar('0'));
        r.name = kNames.at(i % kNames.size());
        QVERIFY(store.add(r).ok());
    }
}

// Runs SQL on a connection of its own, as another program writing the store would.
class OtherTool
{
public:
    explicit OtherTool(const QString& path)
        : m_name(QStringLiteral("other-") + QUuid::createUuid().toString())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("cannot open the store");
    }
    ~OtherTool() { QSqlDatabase::removeDatabase(m_name); }
    QString name() const { return m_name; }

    void run(const QString& sql, const QVariantList& values = {}) const
    {
        QSqlQuery query(QSqlDatabase::database(m_name));
        query.prepare(sql);
        for (const QVariant& value : values)
            query.addBindValue(value);
        if (!query.exec())
            qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    }

private:
    QString m_name;
};

// Every pattern against every date prefix gives the plain query's lines, row for row.
void compareEverything(const ArchiveStore& store)
{
    for (const QString& date : kDates) {
        for (const QString& name : kPatterns) {
            const QStringList expected = plainSearch(store.file(), name, date);
            QCOMPARE(indexSearch(store, name, date), expected);
            QCOMPARE(rowsSearch(store, name, date), expected);
            QCOMPARE(pagedSearch(store, name, date), expected);
        }
    }
}

// An archive as a program from before the name index left it.
void makeOlderStore(const QString& path)
{
    {
        ArchiveStore store(path);
        fill(store);
    }
    StoreConnection::closeAll();
    const OtherTool older(path);
    for (const char* drop : {"DROP TRIGGER [档案_姓名字_增]", "DROP TRIGGER [档案_姓名字_删]",
                             "DROP TRIGGER [档案_姓名字_改]", "DROP TABLE [档案_姓名字]",
                             "DROP TABLE [档案_姓名字进度]", "DROP TABLE [档案_序号]"})
        older.run(QString::fromUtf8(drop));
}

// A program folder whose archive a program from before the name index left, opened as the
// program opens it.
struct OlderArchive
{
    static QString madeIn(const TestProgramFolder& folder)
    {
        makeOlderStore(folder.paths().archiveFile);
        return folder.paths().archiveFile;
    }

    TestProgramFolder folder;
    ArchiveStore store{madeIn(folder)};
};

qint64 indexedUpTo(const StoreConnection& file)
{
    qint64 built = -1;
    test::setUp(
        BoundQuery::read(file, QStringLiteral("SELECT [已建至] FROM [档案_姓名字进度]"), {},
                         [&built](const QSqlQuery& q) { built = q.value(0).toLongLong(); }));
    return built;
}

} // namespace

class TestNameIndex : public QObject
{
    Q_OBJECT
private slots:
    void searchGivesThePlainQuerysLines()
    {
        TestProgramFolder folder;
        ArchiveStore store(folder.paths().archiveFile);
        fill(store);
        // The searches below must go through the index, or nothing is compared.
        QVERIFY(NameIndex::rarestCharacter(store.file(), QStringLiteral("王")).has_value());
        QVERIFY(NameIndex::rarestCharacter(store.file(), QStringLiteral("A")).has_value());
        QVERIFY(!plainSearch(store.file(), QStringLiteral("A"), QString()).isEmpty());
        QVERIFY(store.readsInPages(QStringLiteral("王五"), QStringLiteral("2009")));
        compareEverything(store);
    }

    void literalCharactersLeaveOutWildcardsAndFoldLatinLetters()
    {
        QCOMPARE(NameIndex::literalCharacters(QStringLiteral("A_%b王A")),
                 (QStringList{"a", "b", "王"}));
        QCOMPARE(NameIndex::literalCharacters(QStringLiteral("%_")), QStringList());
        QCOMPARE(NameIndex::literalCharacters(QStringLiteral("Ä𠀀")), (QStringList{"Ä", "𠀀"}));
    }

    // The rarest typed character narrows the search; the LIKE still decides.
    void theRarestCharacterIsChosen()
    {
        TestProgramFolder folder;
        ArchiveStore store(folder.paths().archiveFile);
        fill(store);
        QCOMPARE(NameIndex::rarestCharacter(store.file(), QStringLiteral("王五")),
                 std::optional<QString>(QStringLiteral("五")));
        QCOMPARE(NameIndex::rarestCharacter(store.file(), QStringLiteral("五王")),
                 std::optional<QString>(QStringLiteral("五")));
        QCOMPARE(NameIndex::rarestCharacter(store.file(), QStringLiteral("%_")), std::nullopt);
    }

    void rowsWrittenByAnotherToolAreFound()
    {
        TestProgramFolder folder;
        ArchiveStore store(folder.paths().archiveFile);
        fill(store);
        const OtherTool other(folder.paths().archiveFile);
        other.run(QStringLiteral("INSERT INTO [档案] ([名称], [姓名], [日期]) VALUES "
                                 "('2009-03-01 09:00:00', '赵Ann', '2009-03-01')"));
        QCOMPARE(indexSearch(store, QStringLiteral("赵"), QString()).size(), 1);
        other.run(QStringLiteral("INSERT INTO [档案] ([名称], [姓名]) VALUES "
                                 "('2009-03-01 09:30:00', '王')"));
        other.run(
            QStringLiteral("UPDATE [档案] SET [日期] = NULL WHERE [姓名] = '王五' AND rowid < 10"));
        other.run(QStringLiteral("UPDATE [档案] SET [姓名] = '钱' WHERE [姓名] = '五'"));
        other.run(QStringLiteral("UPDATE [档案] SET [日期] = '2011-01-01' WHERE [姓名] = 'Ann'"));
        other.run(QStringLiteral("DELETE FROM [档案] WHERE [姓名] = '王五'"));
        other.run(QStringLiteral("UPDATE [档案] SET rowid = rowid + 1000 WHERE [姓名] = '李王李'"));
        QVERIFY(indexSearch(store, QStringLiteral("五"), QString()).isEmpty());
        QCOMPARE(indexSearch(store, QStringLiteral("钱"), QString()).size(), 3);
        QCOMPARE(indexSearch(store, QStringLiteral("王"), QString()),
                 plainSearch(store.file(), QStringLiteral("王"), QString()));
        compareEverything(store);
    }

    // A store from before the index gets it on opening, filled step by step; searches stay
    // exact meanwhile, and records saved or removed half way are not lost or left behind.
    void anOlderStoreIsFilledStepByStep()
    {
        OlderArchive older;
        ArchiveStore& store = older.store;
        const QString path = store.file().path();
        QVERIFY(!NameIndex::isComplete(store.file()).value());
        QCOMPARE(NameIndex::rarestCharacter(store.file(), QStringLiteral("王")), std::nullopt);
        compareEverything(store);

        const OtherTool other(path);
        int steps = 0;
        for (;;) {
            const StoreResult<bool> complete = NameIndex::build(store.file(), 7);
            QVERIFY2(complete.ok(), qPrintable(complete.error()));
            if (complete.value())
                break;
            if (++steps == 2) {
                other.run(QStringLiteral("DELETE FROM [档案] WHERE rowid = 30"));
                other.run(QStringLiteral("INSERT INTO [档案] ([名称], [姓名], [日期]) VALUES "
                                         "('2009-03-01 10:00:00', '王六', '2009-03-01')"));
            }
        }
        QVERIFY(steps > 2);
        QVERIFY(NameIndex::rarestCharacter(store.file(), QStringLiteral("王")).has_value());
        compareEverything(store);
    }

    // The fill's own thread and connection write beside the window's thread, which keeps
    // saving and removing records: no save fails for the fill's locks, and the index it
    // completes answers as the plain query does.
    void theIndexFillsBesideSavesOnTheWindowsThread()
    {
        OlderArchive older;
        ArchiveStore& store = older.store;
        NameIndexBuilder builder(store.file());
        builder.setPace(1, 0);
        QSignalSpy finished(&builder, &NameIndexBuilder::finished);
        builder.start();
        PrescriptionRecord r;
        r.date = QStringLiteral("2009-03-01");
        r.name = QStringLiteral("王七");
        for (int i = 0; finished.isEmpty(); ++i) {
            r.key = r.date + QStringLiteral(" 12:%1:%2")
                                 .arg(i / 60 % 60, 2, 10, QChar('0'))
                                 .arg(i % 60, 2, 10, QChar('0'));
            QVERIFY2(store.add(r).ok(), "a save failed while the index filled");
            const auto older = store.recordAt(i + 1);
            if (i % 3 == 0 && older.ok() && older.value())
                QVERIFY(store.remove(i + 1, older.value()->key).ok());
            QTest::qWait(10);
        }
        QCOMPARE(finished.first().first().toBool(), true);
        QVERIFY(NameIndex::rarestCharacter(store.file(), QStringLiteral("王")).has_value());
        compareEverything(store);
    }

    // Closing the program stops the fill half way; the file stays sound, and the next start
    // completes the index from where it stood.
    void aFillStoppedHalfWayIsCompletedLater()
    {
        OlderArchive older;
        ArchiveStore& store = older.store;
        {
            NameIndexBuilder closing(store.file());
            closing.setPace(1, 0);
            closing.start();
            QTRY_VERIFY(indexedUpTo(store.file()) > 0);
        }
        QVERIFY(!NameIndex::isComplete(store.file()).value());
        QCOMPARE(test::fileIntegrity(store.file().path()), QStringLiteral("ok"));
        NameIndexBuilder next(store.file());
        QSignalSpy finished(&next, &NameIndexBuilder::finished);
        next.start();
        QVERIFY(finished.wait(60000));
        QCOMPARE(finished.first().first().toBool(), true);
        compareEverything(store);
    }

    // Another tool that numbers the rows afresh (a VACUUM, a reload from a dump) fires no
    // trigger; the next opening notices and fills the index again instead of finding records
    // under numbers they no longer have.
    void rowsNumberedAfreshAreIndexedAgain()
    {
        TestProgramFolder folder;
        const QString path = folder.paths().archiveFile;
        {
            ArchiveStore store(path);
            fill(store);
            const OtherTool other(path);
            other.run(QStringLiteral("DELETE FROM \"档案\" WHERE rowid = 5"));
            compareEverything(store);
        }
        StoreConnection::closeAll();
        {
            const OtherTool other(path);
            // The triggers are put back exactly as they were, so only the numbers changed.
            QSqlQuery saved(QSqlDatabase::database(other.name()));
            QVERIFY(saved.exec(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = "
                                              "'trigger' AND tbl_name = '档案'")));
            QStringList triggers;
            while (saved.next()) {
                other.run(QStringLiteral("DROP TRIGGER \"%1\"").arg(saved.value(0).toString()));
                triggers << saved.value(1).toString();
            }
            saved = QSqlQuery();
            QCOMPARE(triggers.size(), 3);
            other.run(QStringLiteral("UPDATE \"档案\" SET rowid = rowid - 1 WHERE rowid > 5"));
            for (const QString& trigger : triggers)
                other.run(trigger);
        }
        ArchiveStore store(path);
        QVERIFY(!NameIndex::isComplete(store.file()).value());
        compareEverything(store);
        while (!NameIndex::build(store.file(), 50).value()) {
        }
        QVERIFY(NameIndex::rarestCharacter(store.file(), QStringLiteral("王")).has_value());
        compareEverything(store);

        // A store whose numbers did not change keeps its filled index.
        StoreConnection::closeAll();
        ArchiveStore reopened(path);
        QVERIFY(NameIndex::isComplete(reopened.file()).value());
    }

    // Names longer than the indexed part (only another tool can store them) turn the index
    // off rather than let it miss them.
    void anOverlongNameFallsBackToThePlainQuery()
    {
        TestProgramFolder folder;
        ArchiveStore store(folder.paths().archiveFile);
        fill(store);
        const OtherTool other(folder.paths().archiveFile);
        other.run(QStringLiteral("PRAGMA ignore_check_constraints = ON"));
        other.run(
            QStringLiteral("INSERT INTO [档案] ([名称], [姓名], [日期]) VALUES "
                           "('2009-03-01 11:00:00', '一二三四五六七八九十王甲', '2009-03-01')"));
        QCOMPARE(NameIndex::rarestCharacter(store.file(), QStringLiteral("甲")), std::nullopt);
        QCOMPARE(indexSearch(store, QStringLiteral("甲"), QString()).size(), 1);
        compareEverything(store);
    }

    // That the index answers is remembered between searches; a name it cannot answer for,
    // stored afterwards by this connection or by another program, is still found.
    void aRememberedAnswerYieldsToLaterWrites()
    {
        TestProgramFolder folder;
        ArchiveStore store(folder.paths().archiveFile);
        fill(store);
        const OtherTool other(folder.paths().archiveFile);
        const QString insert = QStringLiteral("INSERT INTO [档案] ([名称], [姓名], [日期]) VALUES "
                                              "('2009-03-01 11:00:00', ?, '2009-03-01')");
        const auto writers = {
            std::function<void(const QString&)>([&store, &insert](const QString& name) {
                QVERIFY(BoundQuery::run(store.file(),
                                        QStringLiteral("PRAGMA ignore_check_constraints = ON"))
                            .ok());
                QVERIFY(BoundQuery::change(store.file(), insert, {name}).ok());
            }),
            std::function<void(const QString&)>([&other, &insert](const QString& name) {
                other.run(QStringLiteral("PRAGMA ignore_check_constraints = ON"));
                other.run(insert, {name});
            }),
        };
        for (const auto& write : writers) {
            QCOMPARE(pagedSearch(store, QStringLiteral("甲"), QString()), QStringList());
            write(QStringLiteral("一二三四五六七八九十王甲"));
            QCOMPARE(pagedSearch(store, QStringLiteral("甲"), QString()).size(), 1);
            QCOMPARE(indexSearch(store, QStringLiteral("甲"), QString()).size(), 1);
            other.run(QStringLiteral("DELETE FROM [档案] WHERE [姓名] LIKE '%甲'"));
        }
    }
};

QTEST_MAIN(TestNameIndex)
#include "TestNameIndex.moc"
