#include "PostgresBench.h"

#include "Answered.h"
#include "BenchGoals.h"
#include "BenchText.h"
#include "RawPostgres.h"
#include "TypicalVisit.h"

#include "core/backup/ServerBackup.h"
#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "core/store/StoreLocation.h"
#include "core/store/server/ServerImport.h"
#include "core/store/server/ServerSearch.h"
#include "support/PostgresServer.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace quilloa::bench {
namespace {

constexpr int kDrugCap = 18;

// The statements the stores send to a server, as libpq takes them.
const char* const kDrugRows =
    "SELECT rowid, \"名称\", \"拼音\" FROM \"药品\" WHERE \"拼音\" LIKE $1 "
    "ESCAPE '' ORDER BY rowid LIMIT $2";
const char* const kInsert =
    "INSERT INTO \"档案\" (\"名称\", \"姓名\", \"性别\", \"年龄\", \"日期\", \"诊断\", \"地址\", "
    "\"处方\", \"医生\", \"配药\", \"收费\") VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, "
    "CAST($11 AS numeric) / 10000) RETURNING rowid";

QString drugRow(int letters)
{
    return QStringLiteral("PostgreSQL: drug lookup, %1-letter code (contains, cap 18) — beside "
                          "libpq")
        .arg(letters);
}

const QString kNameRow =
    QStringLiteral("PostgreSQL: archive search, name contains one character (王) — beside libpq");
const QString kMonthRow =
    QStringLiteral("PostgreSQL: archive search, date of one month — beside libpq");
const QString kSaveRow = QStringLiteral("PostgreSQL: save one record — beside libpq");
const QString kCopyRow = QStringLiteral("PostgreSQL: data folder copied into an empty database "
                                        "(--copy-stores-to, counts checked)");
const QString kBackupRow =
    QStringLiteral("PostgreSQL: backup-day copies exported from one snapshot "
                   "(both store files, checked)");

// A server adds a round trip to every call, so the goal is the ratio to the same SQL through
// libpq. Calls of a tenth of a millisecond jitter by half on a busy machine; 2.5 × leaves room
// for that and for the driver's prepared statements, and still catches a call that does twice
// the work.
const Goal kServerGoal{std::nullopt, 2.5};
// At a million records the searches are held to the store file's own goals as well.
const Goal kLargeNameGoal{goals::kNameSearch.maxMs, kServerGoal.maxRatio};
const Goal kLargeMonthGoal{goals::kArchiveSearch.maxMs, kServerGoal.maxRatio};

// The statement a search sends first, numbered the libpq way, with its values as texts.
struct RawStatement
{
    std::string sql;
    std::vector<std::string> values;
};

RawStatement rawStatement(const ServerSearch::Statement& statement)
{
    RawStatement raw;
    int mark = 0;
    for (const QChar c : statement.sql) {
        if (c == QLatin1Char('?'))
            raw.sql += "$" + std::to_string(++mark);
        else
            raw.sql += QString(c).toStdString();
    }
    for (const QVariant& value : statement.values)
        raw.values.push_back(value.toString().toStdString());
    return raw;
}

// A backup day's export reads every record, so its goal grows with the archive: ten seconds for
// a million records.
Goal exportGoal(int records)
{
    return Goal{records / 100.0, std::nullopt};
}

// Calls `use` with the next of `inputs` at each call, round and round.
template <class Input, class Use> std::function<void()> cycling(std::vector<Input> inputs, Use use)
{
    auto next = std::make_shared<size_t>(0);
    return [inputs = std::move(inputs), use, next] { use(inputs.at((*next)++ % inputs.size())); };
}

} // namespace

void PostgresBench::skipAll(const QString& size, const QString& reason)
{
    std::fprintf(stderr, "PostgreSQL rows skipped: %s\n", qPrintable(reason));
    m_table.skip(kCopyRow, size, goals::kNone, reason);
    m_table.skip(kBackupRow, size, goals::kNone, reason);
    for (int letters = 1; letters <= 3; ++letters)
        m_table.skip(drugRow(letters), size, kServerGoal, reason);
    for (const QString& operation : {kNameRow, kMonthRow, kSaveRow})
        m_table.skip(operation, size, kServerGoal, reason);
}

void PostgresBench::row(const QString& operation, const QString& size,
                        const std::function<void()>& ours, const std::function<void()>& raw,
                        const Goal& goal)
{
    const auto [oursTiming, rawTiming] = Timing::measureSideBySide(ours, raw);
    m_table.add({operation, size, oursTiming, rawTiming, goal, QString()});
}

void PostgresBench::run(const BenchDataSet& data, const BenchInputs& inputs)
{
    const QString size = thousands(data.records()) + QStringLiteral(" records");
    QString why;
    if (test::PostgresServer::findServerBinaries(&why).isEmpty())
        return skipAll(size, QStringLiteral("skipped: ") + why);
    test::PostgresServer server;
    const QString database = server.start() ? server.createDatabase() : QString();
    if (database.isEmpty())
        return skipAll(size, QStringLiteral("skipped: ") + server.errorString().left(200));

    std::fprintf(stderr, "Copying the %d-record folder to a PostgreSQL server ...\n",
                 data.records());
    QElapsedTimer copying;
    copying.start();
    const ServerImport::Outcome copied =
        ServerImport::copy(data.programFolder(), server.connectionText(database));
    const double copyMs = double(copying.nsecsElapsed()) / 1e6;
    if (!copied.ok)
        return skipAll(size, QStringLiteral("skipped: ") + copied.message.left(200));
    m_table.add({kCopyRow, size, Timing::of({copyMs}), std::nullopt, goals::kNone, QString()});

    RawPostgres raw(server.connectionText(database));
    if (!raw.ok())
        return skipAll(size, QStringLiteral("skipped: ") + raw.error().left(200));
    // As the server's own autovacuum would after a bulk load.
    raw.run("ANALYZE");
    const StoreConnection store(StoreLocation::server(server.connectionText(database)).value());
    backup(store, size, data.records());
    // The drug list is the same at every archive size.
    if (data.records() == BenchDataSet::kSmallArchive)
        lookups(store, raw, inputs);
    searches(store, raw, size, data.records() >= BenchDataSet::kLargeArchive);
    saving(store, raw, size, data.records());
    StoreConnection::closeAll();
}

// Written into a folder of its own, so the generated folder's backups stay as they are.
void PostgresBench::backup(const StoreConnection& server, const QString& size, int records)
{
    QTemporaryDir folder;
    QStringList notices;
    QElapsedTimer exporting;
    exporting.start();
    const bool taken =
        ServerBackup::take(server, StorePaths(folder.path()), BenchInputs::kReportDay, &notices);
    const double ms = double(exporting.nsecsElapsed()) / 1e6;
    if (taken)
        m_table.add(
            {kBackupRow, size, Timing::of({ms}), std::nullopt, exportGoal(records), QString()});
    else
        m_table.skip(kBackupRow, size, exportGoal(records),
                     QStringLiteral("failed: ") + notices.join(' '));
}

void PostgresBench::lookups(const StoreConnection& server, RawPostgres& raw,
                            const BenchInputs& inputs)
{
    const SettingsStore store(server);
    const QString drugs = thousands(BenchDataSet::kDrugs) + QStringLiteral(" drugs");
    for (int letters = 1; letters <= 3; ++letters) {
        const QStringList codes = inputs.drugCodes(letters);
        std::vector<std::string> likes;
        for (const QString& code : codes)
            likes.push_back("%" + code.toStdString() + "%");
        row(drugRow(letters), drugs,
            cycling(std::vector<QString>(codes.begin(), codes.end()),
                    [store](const QString& code) {
                        answered(store.lookup(ReferenceList::Drugs, code,
                                              SettingsStore::CodeMatch::Contains, kDrugCap));
                    }),
            cycling(likes,
                    [&raw](const std::string& like) {
                        raw.run(kDrugRows, {like.c_str(), "18"});
                    }),
            kServerGoal);
    }
}

// Each beside the statement the store sends first; with the name, the store then reads the
// rows out of the index blocks on its side of the ratio.
void PostgresBench::searches(const StoreConnection& server, RawPostgres& raw, const QString& size,
                             bool largest)
{
    const ArchiveStore store(server);
    const QString surname = QStringLiteral("王");
    const QString month = BenchInputs::monthText();
    const auto byName = std::make_shared<RawStatement>(
        rawStatement(ServerSearch::statement(surname, QString(), true)));
    const auto byMonth = std::make_shared<RawStatement>(
        rawStatement(ServerSearch::statement(QString(), month, true)));
    row(
        kNameRow, size, [store, surname] { answered(store.searchRows(surname, QString())); },
        [&raw, byName] { raw.run(byName->sql.c_str(), {byName->values.at(0).c_str()}); },
        largest ? kLargeNameGoal : kServerGoal);
    row(
        kMonthRow, size, [store, month] { answered(store.searchRows(QString(), month)); },
        [&raw, byMonth] {
            raw.run(byMonth->sql.c_str(),
                    {byMonth->values.at(0).c_str(), byMonth->values.at(1).c_str()});
        },
        largest ? kLargeMonthGoal : kServerGoal);
}

// The server's own commit is what a save waits for; the test server runs without fsync, so
// this is the program's share, not the disk's.
void PostgresBench::saving(const StoreConnection& server, RawPostgres& raw, const QString& size,
                           int records)
{
    ArchiveStore store(server);
    const PrescriptionRecord r = typicalVisit();
    const auto text = [](const QString& s) {
        return std::make_shared<std::string>(s.toStdString());
    };
    const auto key = text(r.key), name = text(r.name), sex = text(r.sex), age = text(r.age),
               date = text(r.date), diagnosis = text(r.diagnosis), address = text(r.address),
               body = text(r.body), doctor = text(r.doctor), dispenser = text(r.dispenser);
    const auto fee = std::make_shared<std::string>(std::to_string(r.fee->units()));
    row(
        kSaveRow, size, [&store, r] { answered(store.add(r)); },
        [=, &raw] {
            raw.run(kInsert, {key->c_str(), name->c_str(), sex->c_str(), age->c_str(),
                              date->c_str(), diagnosis->c_str(), address->c_str(), body->c_str(),
                              doctor->c_str(), dispenser->c_str(), fee->c_str()});
        },
        kServerGoal);
    raw.run("DELETE FROM \"档案\" WHERE rowid > $1", {std::to_string(records).c_str()});
}

} // namespace quilloa::bench
