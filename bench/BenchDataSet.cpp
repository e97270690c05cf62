#include "BenchDataSet.h"

#include "BenchText.h"
#include "RecordGenerator.h"
#include "SyntheticClinic.h"

#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "core/store/StoreConnection.h"
#include "core/store/file/NameIndex.h"
#include "core/store/file/StoreSchema.h"
#include "core/store/sql/BoundQuery.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>

#include <cstdio>

namespace quilloa::bench {
namespace {

constexpr quint64 kSeed = 20090325;
constexpr int kBatch = 20000;
// Raised whenever the generated shape changes, so stale folders are made again.
constexpr int kFormatVersion = 1;

bool fail(QString* error, const QString& what)
{
    *error = what;
    return false;
}

// Runs `add` for each row inside transactions of kBatch rows on the store's own connection, so
// the generator pays one sync per batch instead of one per row.
class BatchWriter
{
public:
    explicit BatchWriter(const StoreConnection& file) : m_file(file) {}
    ~BatchWriter()
    {
        if (m_open)
            m_db.rollback();
    }

    bool begin(QString* error)
    {
        const StoreResult<QSqlDatabase> db = m_file.database();
        if (!db.ok())
            return fail(error, db.error());
        m_db = db.value();
        m_open = m_db.transaction();
        return m_open || fail(error, m_db.lastError().text());
    }

    bool row(QString* error)
    {
        if (++m_rows % kBatch != 0)
            return true;
        return commit(error) && begin(error);
    }

    bool commit(QString* error)
    {
        m_open = false;
        return m_db.commit() || fail(error, m_db.lastError().text());
    }

private:
    const StoreConnection& m_file;
    QSqlDatabase m_db;
    bool m_open = false;
    qint64 m_rows = 0;
};

} // namespace

BenchDataSet::BenchDataSet(const QString& root, int records, bool village)
    : m_records(records), m_village(village),
      m_paths(root + QStringLiteral("/records-") + QString::number(records) +
              (village ? QStringLiteral("-village") : QString()))
{
}

QString BenchDataSet::sizeText() const
{
    const QString size = thousands(m_records) + QStringLiteral(" records");
    return m_village ? size + QStringLiteral(", village of half ") + kVillageSurname : size;
}

QString BenchDataSet::markerPath() const
{
    return m_paths.programFolder + QStringLiteral("/complete");
}

QString BenchDataSet::markerText() const
{
    return QStringLiteral(
               "format %1, seed %2, records %3, drugs %4, diagnoses %5, addresses %6%7\n")
        .arg(kFormatVersion)
        .arg(kSeed)
        .arg(m_records)
        .arg(kDrugs)
        .arg(kDiagnoses)
        .arg(kAddresses)
        .arg(m_village ? QStringLiteral(", village of ") + kVillageSurname : QString());
}

bool BenchDataSet::isComplete() const
{
    QFile marker(markerPath());
    return marker.open(QIODevice::ReadOnly) && QString::fromUtf8(marker.readAll()) == markerText();
}

bool BenchDataSet::prepare(QString* error)
{
    if (isComplete())
        return tidy(error);
    StoreConnection::closeAll();
    QDir(m_paths.programFolder).removeRecursively();
    QElapsedTimer timer;
    timer.start();
    std::fprintf(stderr, "Generating %d records in %s ...\n", m_records,
                 qPrintable(m_paths.programFolder));
    if (!generate(error))
        return false;
    std::fprintf(stderr, "  done in %.1f s\n", double(timer.elapsed()) / 1000.0);
    return true;
}

bool BenchDataSet::generate(QString* error)
{
    if (!QDir().mkpath(m_paths.dataFolder))
        return fail(error, QStringLiteral("cannot create ") + m_paths.dataFolder);
    const StoreStatus archive = StoreSchema::createArchiveStore(m_paths.archiveFile);
    const StoreStatus settings = StoreSchema::createSettingsStore(m_paths.settingsFile, false);
    if (!archive.ok() || !settings.ok())
        return fail(error, archive.ok() ? settings.error() : archive.error());
    if (!fillSettings(error) || !fillArchive(error))
        return false;
    StoreConnection::closeAll();
    QFile marker(markerPath());
    if (!marker.open(QIODevice::WriteOnly) || marker.write(markerText().toUtf8()) < 0)
        return fail(error, QStringLiteral("cannot write ") + markerPath());
    return true;
}

bool BenchDataSet::fillSettings(QString* error)
{
    SyntheticClinic clinic(kSeed);
    SettingsStore store(m_paths.settingsFile);
    BatchWriter batch(store.file());
    if (!batch.begin(error))
        return false;
    const std::pair<ReferenceList, QList<ListEntry>> lists[] = {
        {ReferenceList::Drugs, clinic.drugs(kDrugs)},
        {ReferenceList::Diagnoses, clinic.diagnoses(kDiagnoses)},
        {ReferenceList::Addresses, clinic.addresses(kAddresses)},
    };
    for (const auto& [list, entries] : lists) {
        for (const ListEntry& entry : entries) {
            const StoreResult<qint64> added = store.add(list, entry.name, entry.code);
            if (!added.ok())
                return fail(error, added.error());
            if (!batch.row(error))
                return false;
        }
    }
    return batch.commit(error);
}

bool BenchDataSet::fillArchive(QString* error)
{
    SyntheticClinic clinic(kSeed);
    // The same lists as the settings store, so bodies, diagnoses and addresses match it.
    QList<ListEntry> drugs = clinic.drugs(kDrugs);
    QList<ListEntry> diagnoses = clinic.diagnoses(kDiagnoses);
    const QList<ListEntry> addresses = clinic.addresses(kAddresses);
    QList<SyntheticClinic::Patient> patients =
        clinic.patients(m_records / 8 + 100, addresses, m_village ? kVillageSurname : QString());
    RecordGenerator generator(clinic, std::move(drugs), std::move(diagnoses), std::move(patients));

    ArchiveStore store(m_paths.archiveFile);
    BatchWriter batch(store.file());
    if (!batch.begin(error))
        return false;
    const bool written =
        generator.generate(m_records, kFirstDay, kLastDay, [&](const PrescriptionRecord& record) {
            const StoreResult<qint64> added = store.add(record);
            if (!added.ok())
                return fail(error, added.error());
            return batch.row(error);
        });
    return written && batch.commit(error);
}

// A run that was stopped half way may have left saved records or a backup folder behind.
bool BenchDataSet::tidy(QString* error)
{
    QDir(m_paths.backupFolder).removeRecursively();
    const ArchiveStore archive(m_paths.archiveFile);
    const StoreStatus removed = BoundQuery::run(
        archive.file(), QStringLiteral("DELETE FROM [档案] WHERE rowid > ?"), {m_records});
    if (!removed.ok())
        return fail(error, removed.error());
    return completeNameIndex(archive.file(), error);
}

// A folder generated before the name index existed, or left half filled by an interrupted
// run, is completed here, so every timed search reads a whole index.
bool BenchDataSet::completeNameIndex(const StoreConnection& archive, QString* error)
{
    constexpr int kRecordsPerStep = 50000;
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        const StoreResult<bool> complete = NameIndex::build(archive, kRecordsPerStep);
        if (!complete.ok())
            return fail(error, complete.error());
        if (complete.value())
            break;
        if (timer.elapsed() > 2000)
            std::fprintf(stderr, "  filling the name index of %s ...\r",
                         qPrintable(m_paths.programFolder));
    }
    return true;
}

} // namespace quilloa::bench
