#include "core/backup/BackupCatalog.h"
#include "core/backup/BackupPair.h"
#include "core/backup/BackupRestore.h"
#include "core/exchange/CsvText.h"
#include "core/settings/IdleLockSetting.h"
#include "core/startup/StartupPreparation.h"
#include "support/TestProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sqlite3.h>
#include <sys/stat.h>

using namespace quilloa;
using quilloa::test::TestProgramFolder;

namespace {

unsigned modeOf(const QString& path)
{
    struct stat status
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return 0xFFFF;
    return status.st_mode & 07777;
}

// The mode of the store's journal while a change is being written into it.
unsigned journalModeDuringAWrite(const QString& store)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(store).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "BEGIN IMMEDIATE; UPDATE [密码] SET [密码] = 'x';", nullptr, nullptr, nullptr);
    const unsigned mode = modeOf(store + QStringLiteral("-journal"));
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return mode;
}

} // namespace

// Patient data must stay unreadable to other accounts even when the umask would let them in.
class TestPrivateModes : public QObject
{
    Q_OBJECT

    mode_t m_umask = 0;

    static void expectModes(const QStringList& paths, unsigned mode)
    {
        for (const QString& path : paths)
            QVERIFY2(modeOf(path) == mode,
                     qPrintable(QStringLiteral("%1: %2").arg(path).arg(modeOf(path), 0, 8)));
    }

private slots:
    void initTestCase() { m_umask = ::umask(0); }
    void cleanupTestCase() { ::umask(m_umask); }

    void everythingTheProgramWritesIsTheOwnersAlone()
    {
        const QDateTime day(QDate(2026, 12, 10), QTime(9, 30));
        TestProgramFolder folder(TestProgramFolder::Stores::None, day);
        const StorePaths& paths = folder.paths();
        const StartupReport report = StartupPreparation::run(paths, *folder.clock());
        QVERIFY2(report.backupTaken && report.notices.isEmpty(),
                 qPrintable(report.notices.join(QLatin1Char('\n'))));
        QCOMPARE(journalModeDuringAWrite(paths.archiveFile), 0600u);
        QVERIFY(IdleLockSetting(paths.dataFolder).setMinutes(5).ok());
        const QString later = paths.backupFolder + QStringLiteral("/2026-12-11");
        QVERIFY(BackupRestore::backUpNow(paths, day.addDays(1)).ok);
        const BackupRestore::Outcome restored =
            BackupRestore::restore(paths, BackupCatalog::inspect(later), day.addDays(1));
        QVERIFY2(restored.ok, qPrintable(restored.message));
        const QString today = paths.backupFolder + QStringLiteral("/2026-12-10");
        const QString before = restored.folder;
        expectModes({paths.dataFolder, paths.backupFolder, today, later, before}, 0700);
        QStringList files{paths.archiveFile, paths.settingsFile,
                          paths.dataFolder + QStringLiteral("/idle-lock.conf")};
        for (const QString& copies : {today, later, before})
            files << copies + QStringLiteral("/档案.dat") << copies + QStringLiteral("/设置.dat")
                  << copies + QLatin1Char('/') + BackupPair::noteName();
        // Exports of the clinic log and the chart go where the user says, a home folder others
        // can list: a new file and one written over that others could read are both private.
        const QString fresh = folder.path() + QStringLiteral("/门诊日志.csv");
        const QString opened = folder.path() + QStringLiteral("/旧的.csv");
        QFile old(opened);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.close();
        ::chmod(QFile::encodeName(opened).constData(), 0644);
        for (const QString& exported : {fresh, opened}) {
            QVERIFY(
                CsvText::write({{QStringLiteral("张三"), QStringLiteral("感冒")}}, exported).ok());
            files << exported;
        }
        expectModes(files, 0600);
    }

    // An older version left its stores open to everyone: the next start narrows them without a
    // word.
    void widerStoresAreNarrowedAtStart()
    {
        TestProgramFolder folder;
        const StorePaths& paths = folder.paths();
        QVERIFY(QDir().mkpath(paths.backupFolder + QStringLiteral("/2009-03-20")));
        for (const QString& open : {paths.dataFolder, paths.backupFolder})
            ::chmod(QFile::encodeName(open).constData(), 0755);
        for (const QString& open : {paths.archiveFile, paths.settingsFile})
            ::chmod(QFile::encodeName(open).constData(), 0644);
        const StartupReport report = StartupPreparation::run(paths, *folder.clock());
        QVERIFY(report.notices.isEmpty());
        expectModes({paths.dataFolder, paths.backupFolder}, 0700);
        expectModes({paths.archiveFile, paths.settingsFile}, 0600);
    }
};

QTEST_GUILESS_MAIN(TestPrivateModes)
#include "TestPrivateModes.moc"
