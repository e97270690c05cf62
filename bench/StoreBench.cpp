#include "StoreBench.h"

#include "Answered.h"
#include "BenchGoals.h"
#include "BenchText.h"
#include "RawSqlite.h"
#include "TypicalVisit.h"
#include "TypingProbe.h"

#include "core/reports/ClinicLogQuery.h"
#include "core/reports/WorkloadStatistics.h"
#include "core/rtf/RtfWriter.h"
#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "core/store/file/NameIndex.h"
#include "core/store/file/StoreSchema.h"

#include "core/store/file/NameIndexBuilder.h"
#include "ui/entry/ArchiveListModel.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace quilloa::bench {
namespace {

constexpr int kDrugCap = 18;
constexpr int kOpeningCap = 100;

const char* const kDrugRows = "SELECT rowid, [名称], [拼音] FROM [药品] WHERE [拼音] LIKE ? "
                              "ORDER BY rowid LIMIT ?";
const char* const kAllDrugs = "SELECT rowid, [名称], [拼音] FROM [药品] ORDER BY rowid";
const char* const kDiagnosisNames = "SELECT [名称] FROM [诊断] WHERE [拼音] LIKE ? ORDER BY rowid";
const char* const kAddressNames = "SELECT [名称] FROM [地址] WHERE [拼音] LIKE ? ORDER BY rowid";
const char* const kFirstEntries = "SELECT rowid, [姓名], [名称] FROM [档案] ORDER BY rowid LIMIT ?";
const char* const kSearch = "SELECT rowid, [姓名], [名称] FROM [档案] WHERE [姓名] LIKE ? AND "
                            "[日期] LIKE ? ORDER BY +rowid";
const char* const kSearchRows = "SELECT rowid FROM [档案] WHERE [姓名] LIKE ? AND [日期] LIKE ? "
                                "ORDER BY +rowid";
const char* const kEntryAt = "SELECT rowid, [姓名], [名称] FROM [档案] WHERE rowid = ?";
const char* const kRecordByKey =
    "SELECT [名称], [姓名], [性别], [年龄], [日期], [诊断], [地址], [处方], [医生], [配药], "
    "[收费] FROM [档案] WHERE [名称] = ? ORDER BY rowid LIMIT 1";
const char* const kDayFees = "SELECT [收费] FROM [档案] WHERE [日期] = ?";
const char* const kMonthFees = "SELECT [收费] FROM [档案] WHERE [日期] LIKE ?";
const char* const kDayLog =
    "SELECT [姓名], [性别], [年龄], [诊断], [地址], [名称], [收费] FROM [档案] "
    "WHERE [日期] = ? ORDER BY [名称], rowid";
const char* const kMonthLog =
    "SELECT [姓名], [性别], [年龄], [诊断], [地址], [名称], [收费] FROM [档案] "
    "WHERE [日期] LIKE ? ORDER BY [名称], rowid";
const char* const kInsert =
    "INSERT INTO [档案] ([名称], [姓名], [性别], [年龄], [日期], [诊断], [地址], [处方], [医生], "
    "[配药], [收费]) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

// Calls `use` with the next of `inputs` at each call, round and round.
template <class Input, class Use> std::function<void()> cycling(std::vector<Input> inputs, Use use)
{
    auto next = std::make_shared<size_t>(0);
    return [inputs = std::move(inputs), use, next] { use(inputs.at((*next)++ % inputs.size())); };
}

std::vector<QString> qtTexts(const QStringList& list)
{
    return {list.begin(), list.end()};
}

std::vector<std::string> rawTexts(const QStringList& list, const char* before, const char* after)
{
    std::vector<std::string> texts;
    for (const QString& text : list)
        texts.push_back(before + text.toStdString() + after);
    return texts;
}

// The statement the store finally runs for what the list shows first of a search (its first
// page when the search is read in pages), straight through SQLite.
std::function<void()> finalStatement(RawSqlite& raw, const ArchiveStore& store, const QString& name,
                                     const QString& date)
{
    const ArchiveStore::Statement statement =
        store.readsInPages(name, date) ? store.pageStatement(name, date, 0, ArchiveListModel::kPage)
                                       : store.searchStatement(name, date, true);
    auto sql = std::make_shared<std::string>(statement.sql.toStdString());
    std::vector<RawSqlite::Value> values;
    for (const QVariant& value : statement.values) {
        if (value.typeId() == QMetaType::QString)
            values.emplace_back(value.toString().toStdString());
        else
            values.emplace_back(std::int64_t(value.toLongLong()));
    }
    return [&raw, sql, values] { raw.run(sql->c_str(), values); };
}

} // namespace

void StoreBench::row(const QString& operation, const QString& size,
                     const std::function<void()>& ours, RawSqlite& raw,
                     const std::function<void()>& rawRun, Goal goal, bool sameSql)
{
    ResultRow result{operation, size, {}, std::nullopt, goal, QString()};
    if (!sameSql) {
        raw.keepStatements(false);
        std::tie(result.ours, result.raw) = Timing::measureSideBySide(ours, rawRun);
        m_table.add(result);
        return;
    }
    if (!result.goal.maxRatio)
        result.goal.maxRatio = goals::kRawRatio;
    const QList<Timing> sides = Timing::measureInTurn({ours,
                                                       [&raw, rawRun] {
                                                           raw.keepStatements(false);
                                                           rawRun();
                                                       },
                                                       [&raw, rawRun] {
                                                           raw.keepStatements(true);
                                                           rawRun();
                                                       }});
    raw.keepStatements(false);
    result.ours = sides.at(0);
    result.raw = sides.at(1);
    result.rawKept = sides.at(2);
    m_table.add(result);
}

void StoreBench::referenceLists(const BenchDataSet& data, const BenchInputs& inputs)
{
    const SettingsStore store(data.paths().settingsFile);
    auto raw = std::make_shared<RawSqlite>(data.paths().settingsFile);
    const QString drugs = thousands(BenchDataSet::kDrugs) + QStringLiteral(" drugs");
    for (int letters = 1; letters <= 3; ++letters) {
        const QStringList codes = inputs.drugCodes(letters);
        row(QStringLiteral("drug lookup, %1-letter code (contains, cap 18)").arg(letters), drugs,
            cycling(qtTexts(codes),
                    [store](const QString& code) {
                        answered(store.lookup(ReferenceList::Drugs, code,
                                              SettingsStore::CodeMatch::Contains, kDrugCap));
                    }),
            *raw,
            cycling(rawTexts(codes, "%", "%"),
                    [raw](const std::string& like) {
                        raw->run(kDrugRows, {like, std::int64_t(kDrugCap)});
                    }),
            goals::kDrugKeystroke);
    }

    const struct
    {
        const char* operation;
        ReferenceList list;
        SettingsStore::CodeMatch match;
        QStringList codes;
        const char* sql;
        int entries;
        const char* noun;
    } lookups[] = {
        {"diagnosis lookup per keystroke (prefix)", ReferenceList::Diagnoses,
         SettingsStore::CodeMatch::Prefix, inputs.keystrokes(inputs.diagnosisCodeList()),
         kDiagnosisNames, BenchDataSet::kDiagnoses, " diagnoses"},
        {"address lookup per keystroke (contains)", ReferenceList::Addresses,
         SettingsStore::CodeMatch::Contains, inputs.keystrokes(inputs.addressCodeList()),
         kAddressNames, BenchDataSet::kAddresses, " addresses"},
        {"address lookup per keystroke (prefix)", ReferenceList::Addresses,
         SettingsStore::CodeMatch::Prefix, inputs.keystrokes(inputs.addressCodeList()),
         kAddressNames, BenchDataSet::kAddresses, " addresses"},
        {"address lookup on entering an empty field (all)",
         ReferenceList::Addresses,
         SettingsStore::CodeMatch::Prefix,
         {QString()},
         kAddressNames,
         BenchDataSet::kAddresses,
         " addresses"},
    };
    for (const auto& lookup : lookups) {
        const bool contains = lookup.match == SettingsStore::CodeMatch::Contains;
        row(QString::fromUtf8(lookup.operation),
            thousands(lookup.entries) + QString::fromUtf8(lookup.noun),
            cycling(qtTexts(lookup.codes),
                    [store, lookup](const QString& code) {
                        answered(store.names(lookup.list, code, lookup.match));
                    }),
            *raw,
            cycling(rawTexts(lookup.codes, contains ? "%" : "", "%"),
                    [raw, sql = lookup.sql](const std::string& like) { raw->run(sql, {like}); }),
            goals::kKeystroke);
    }

    row(QStringLiteral("reference-window search per keystroke (prefix)"), drugs,
        cycling(qtTexts(inputs.keystrokes(inputs.drugCodeList())),
                [store](const QString& code) {
                    answered(
                        store.lookup(ReferenceList::Drugs, code, SettingsStore::CodeMatch::Prefix));
                }),
        *raw,
        cycling(rawTexts(inputs.keystrokes(inputs.drugCodeList()), "", "%"),
                [raw](const std::string& like) {
                    raw->run(kDrugRows, {like, std::int64_t(-1)});
                }),
        goals::kKeystroke);
    row(
        QStringLiteral("reference list read whole (drug window opening)"), drugs,
        [store] { answered(store.all(ReferenceList::Drugs)); }, *raw,
        [raw] { raw->run(kAllDrugs); }, goals::kNone);
}

// The goals name the archive size they hold for; at other sizes the rows show the growth.
void StoreBench::archive(const BenchDataSet& data, const BenchInputs& inputs)
{
    const bool largest = data.records() == BenchDataSet::kLargeArchive;
    const ArchiveStore store(data.paths().archiveFile);
    auto raw = std::make_shared<RawSqlite>(data.paths().archiveFile);
    const QString size = data.sizeText();
    const QString daySize = size + QStringLiteral(", day of %1 visits").arg(inputs.dayVisits());
    const QString monthSize =
        size + QStringLiteral(", month of %1 visits").arg(thousands(inputs.monthVisits()));
    const std::string day = BenchInputs::dayText().toStdString();
    const std::string month = BenchInputs::monthText().toStdString() + "%";
    const QString surname = QStringLiteral("王");

    row(
        QStringLiteral("archive list at opening (first 100)"), size,
        [store] { answered(store.firstEntries(kOpeningCap)); }, *raw,
        [raw] { raw->run(kFirstEntries, {std::int64_t(kOpeningCap)}); }, goals::kNone);
    nameSearch(data, size, *raw);
    searches(data, size, *raw);
    const auto shown = store.searchRows(surname, QString());
    if (shown.ok() && shown.value().size() >= 64) {
        const QList<qint64> screen = shown.value().mid(shown.value().size() / 2, 64);
        std::vector<std::int64_t> rows(screen.begin(), screen.end());
        row(
            QStringLiteral("archive list lines read when shown (a block of 64 found rows)"), size,
            [store, screen] { answered(store.entriesOf(screen)); }, *raw,
            [raw, rows] {
                for (const std::int64_t r : rows)
                    raw->run(kEntryAt, {r});
            },
            goals::kSingleRecord);
    }
    if (data.village())
        return;
    row(QStringLiteral("show record by key (body included)"), size,
        cycling(qtTexts(inputs.recordKeys()),
                [store](const QString& key) { answered(store.firstRecordWithKey(key)); }),
        *raw,
        cycling(rawTexts(inputs.recordKeys(), "", ""),
                [raw](const std::string& key) { raw->run(kRecordByKey, {key}); }),
        largest ? goals::kSingleRecord : goals::kNone);

    const ReportPeriod dayPeriod =
        ReportPeriod::day(BenchInputs::year(), BenchInputs::month(), BenchInputs::day());
    const ReportPeriod monthPeriod = ReportPeriod::month(BenchInputs::year(), BenchInputs::month());
    row(
        QStringLiteral("day statistics"), daySize,
        [&store, dayPeriod] { answered(WorkloadStatistics::of(store, dayPeriod)); }, *raw,
        [raw, day] { raw->run(kDayFees, {day}); }, largest ? goals::kSingleRecord : goals::kNone);
    row(
        QStringLiteral("month statistics"), monthSize,
        [&store, monthPeriod] { answered(WorkloadStatistics::of(store, monthPeriod)); }, *raw,
        [raw, month] { raw->run(kMonthFees, {month}); },
        largest ? goals::kMonthReport : goals::kNone);
    row(
        QStringLiteral("day clinic log query"), daySize,
        [&store, dayPeriod] { answered(ClinicLogQuery::rows(store, dayPeriod)); }, *raw,
        [raw, day] { raw->run(kDayLog, {day}); }, largest ? goals::kSingleRecord : goals::kNone);
    row(
        QStringLiteral("month clinic log query"), monthSize,
        [&store, monthPeriod] { answered(ClinicLogQuery::rows(store, monthPeriod)); }, *raw,
        [raw, month] { raw->run(kMonthLog, {month}); },
        largest ? goals::kMonthReport : goals::kNone);
    if (largest)
        saving(data, size);
}

// The name search reads the name index; beside it, the plain LIKE over every name that the
// index replaces, and the index query itself straight through SQLite. Our side runs what the
// panel runs: the store chooses how to read the search and reads what the list shows first.
void StoreBench::nameSearch(const BenchDataSet& data, const QString& size, RawSqlite& raw)
{
    const ArchiveStore store(data.paths().archiveFile);
    const QString surname = QStringLiteral("王");
    const std::string contains = "%" + surname.toStdString() + "%";
    const auto ours = [store, surname] {
        answered(store.searchFirst(surname, QString(), ArchiveListModel::kPage));
    };
    row(
        QStringLiteral("archive search, name contains one character (王) — beside the plain "
                       "scan of every name"),
        size, ours, raw,
        [&raw, contains] {
            raw.run(kSearch, {contains, "%"});
        },
        goals::kNameSearch, false);
    row(QStringLiteral("archive search, name contains one character (王) — beside the same "
                       "name-index query"),
        size, ours, raw, finalStatement(raw, store, surname, QString()), goals::kNameSearch);
    const QString pair = QStringLiteral("王秀");
    const std::string pairLike = "%" + pair.toStdString() + "%";
    row(
        QStringLiteral("archive search, name contains two characters (王秀) — beside the plain "
                       "scan"),
        size,
        [store, pair] { answered(store.searchFirst(pair, QString(), ArchiveListModel::kPage)); },
        raw,
        [&raw, pairLike] {
            raw.run(kSearch, {pairLike, "%"});
        },
        goals::kNameSearch, false);
}

// Every search the archive panel offers, each beside the statement the store finally runs
// for it: whatever the store does to choose that statement is on our side of the ratio.
void StoreBench::searches(const BenchDataSet& data, const QString& size, RawSqlite& raw)
{
    const ArchiveStore store(data.paths().archiveFile);
    const struct
    {
        QString operation;
        QString name;
        QString date;
        Goal goal;
    } runs[] = {
        {QStringLiteral("archive search, both boxes empty (every record, first page)"), QString(),
         QString(), goals::kArchiveSearch},
        {QStringLiteral("archive search, date of one year"), QString(), BenchInputs::year(),
         goals::kArchiveSearch},
        {QStringLiteral("archive search, date of one month"), QString(), BenchInputs::monthText(),
         goals::kArchiveSearch},
        {QStringLiteral("archive search, name contains two characters (王秀) — beside the "
                        "index query run"),
         QStringLiteral("王秀"), QString(), goals::kNameSearch},
        {QStringLiteral("archive search, name contains three characters (王秀英) — beside the "
                        "index query run"),
         QStringLiteral("王秀英"), QString(), goals::kNameSearch},
    };
    for (const auto& run : runs) {
        const auto ours = [store, run] {
            answered(store.searchFirst(run.name, run.date, ArchiveListModel::kPage));
        };
        row(run.operation, size, ours, raw, finalStatement(raw, store, run.name, run.date),
            run.goal);
    }
}

// An archive saved before the name index existed gets it filled in the background, on a thread
// of its own; typing meanwhile must never wait longer than the goal, not even once. Keys are
// typed at a steady pace into a box on the window's thread while the program's own builder
// fills the whole index, and the slowest key is held to the goal. The generated archive is put
// back as it was: index complete.
void StoreBench::indexFill(const BenchDataSet& data)
{
    constexpr int kTypingEveryMs = 10;
    constexpr int kSettleMs = 200;
    const QString size = data.sizeText();
    const QString operation =
        QStringLiteral("typing while the name index of an older archive fills in the "
                       "background: delay of each key, one every %1 ms (slowest held to the goal)")
            .arg(kTypingEveryMs);
    {
        RawSqlite raw(data.paths().archiveFile);
        for (const char* drop : {"DROP TRIGGER [档案_姓名字_增]", "DROP TRIGGER [档案_姓名字_删]",
                                 "DROP TRIGGER [档案_姓名字_改]", "DROP TABLE [档案_姓名字]",
                                 "DROP TABLE [档案_姓名字进度]", "DROP TABLE [档案_序号]"})
            raw.run(drop);
    }
    StoreConnection::closeAll(); // the next opening finds an archive without the index
    const ArchiveStore store(data.paths().archiveFile);
    // Opened as at start-up, before the window takes keys: the opening makes the empty index.
    const StoreResult<bool> before = NameIndex::isComplete(store.file());
    if (!before.ok() || before.value()) {
        m_table.skip(operation, size, goals::kTypingDuringIndexFill,
                     QStringLiteral("n/a: the archive did not lose its index"));
        return;
    }
    NameIndexBuilder builder(store.file());
    TypingProbe typing(kTypingEveryMs);
    QEventLoop loop;
    QElapsedTimer whole;
    double seconds = 0;
    QObject::connect(&builder, &NameIndexBuilder::finished, &loop, [&](bool complete) {
        seconds = double(whole.elapsed()) / 1000.0;
        // What the archive panel does then; the keys typed while it runs count too.
        if (complete)
            store.prepareNameSearch(ArchiveListModel::kPage);
        QTimer::singleShot(kSettleMs, &loop, [&loop] { loop.quit(); });
    });
    typing.start();
    whole.start();
    builder.start();
    if (builder.isRunning())
        loop.exec();
    typing.stop();
    const StoreResult<bool> complete = NameIndex::isComplete(store.file());
    if (!complete.ok() || !complete.value()) {
        m_table.skip(operation, size, goals::kTypingDuringIndexFill,
                     QStringLiteral("n/a: the index stopped before it was complete"));
        return;
    }
    m_table.add(
        {operation, size + QStringLiteral(", whole index filled in %1 s").arg(seconds, 0, 'f', 1),
         Timing::of(typing.delays()), std::nullopt, goals::kTypingDuringIndexFill, QString()});
}

// Each run stores one more record with a full sync; they are removed again afterwards so the
// generated folder stays as it was.
void StoreBench::saving(const BenchDataSet& data, const QString& size)
{
    ArchiveStore store(data.paths().archiveFile);
    auto raw = std::make_shared<RawSqlite>(data.paths().archiveFile);
    const PrescriptionRecord r = typicalVisit();
    const std::string body = r.body.toStdString();
    const auto text = [](const QString& s) { return s.toStdString(); };
    row(
        QStringLiteral("save one record (synced)"), size, [&store, r] { answered(store.add(r)); },
        *raw,
        [=] {
            raw->run(kInsert, {text(r.key), text(r.name), text(r.sex), text(r.age), text(r.date),
                               text(r.diagnosis), text(r.address), body, text(r.doctor),
                               text(r.dispenser), std::int64_t(r.fee->units())});
        },
        goals::kSave);
    raw->run("DELETE FROM [档案] WHERE rowid > ?", {std::int64_t(data.records())});
}

} // namespace quilloa::bench
