#include "core/startup/DataFolderChoice.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace quilloa;

namespace {

// <root>/usr/bin with the program's desktop entry in <root>/usr/share/applications, as the
// package lays it out, and the uninstaller beside the program, as the Windows installer does.
QString makeInstalledLayout(const QString& root)
{
    const QString bin = root + QStringLiteral("/usr/bin");
    const QString applications = root + QStringLiteral("/usr/share/applications");
    QDir().mkpath(bin);
    QDir().mkpath(applications);
    QFile entry(applications + QLatin1Char('/') +
                QString::fromLatin1(DataFolderChoice::desktopEntryName()));
    entry.open(QIODevice::WriteOnly);
    QFile uninstaller(bin + QLatin1Char('/') +
                      QString::fromLatin1(DataFolderChoice::uninstallerName()));
    uninstaller.open(QIODevice::WriteOnly);
    return bin;
}

} // namespace

class TestDataFolderChoice : public QObject
{
    Q_OBJECT
private slots:
    void writableProgramFolderKeepsTheDataBeside()
    {
        QTemporaryDir program, user;
        const DataFolder chosen = DataFolderChoice::choose(program.path(), {}, user.path());
        QCOMPARE(chosen.path, QDir::cleanPath(program.path()));
        QCOMPARE(chosen.source, DataFolder::Source::ProgramFolder);
        // The writability probe leaves nothing behind.
        QVERIFY(
            QDir(program.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    }

    void installedProgramUsesTheUserFolderEvenWhenItsFolderIsWritable()
    {
        QTemporaryDir root, user;
        const QString bin = makeInstalledLayout(root.path());
        QVERIFY(DataFolderChoice::isInstalledLayout(bin));
        const DataFolder chosen = DataFolderChoice::choose(bin, {}, user.path());
        QCOMPARE(chosen.path, QDir::cleanPath(user.path()));
        QCOMPARE(chosen.source, DataFolder::Source::UserFolder);
    }

    void binFolderWithoutDesktopEntryIsAPortableCopy()
    {
        QTemporaryDir root, user;
        const QString bin = root.path() + QStringLiteral("/bin");
        QDir().mkpath(bin);
        QVERIFY(!DataFolderChoice::isInstalledLayout(bin));
        QCOMPARE(DataFolderChoice::choose(bin, {}, user.path()).source,
                 DataFolder::Source::ProgramFolder);
    }

    void readOnlyProgramFolderUsesTheUserFolder()
    {
        if (::geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QTemporaryDir program, user;
        QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
        const DataFolder chosen = DataFolderChoice::choose(program.path(), {}, user.path());
        QFile::setPermissions(program.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(chosen.source, DataFolder::Source::UserFolder);
        QCOMPARE(chosen.path, QDir::cleanPath(user.path()));
    }

    void missingProgramFolderIsNotWritable()
    {
        QTemporaryDir base;
        QVERIFY(!DataFolderChoice::isWritable(base.path() + QStringLiteral("/gone")));
    }

    void explicitFolderWinsAndIsMadeAbsolute()
    {
        QTemporaryDir root, user;
        const QString bin = makeInstalledLayout(root.path());
        const DataFolder chosen =
            DataFolderChoice::choose(bin, QStringLiteral("clinic/../clinic-data"), user.path());
        QCOMPARE(chosen.source, DataFolder::Source::Explicit);
        QCOMPARE(chosen.path, QDir::current().absoluteFilePath(QStringLiteral("clinic-data")));
    }

    void descriptionNamesFolderAndReason()
    {
        const DataFolder user{QStringLiteral("/home/a/.local/share/Quilloa"),
                              DataFolder::Source::UserFolder};
        QVERIFY(user.description().contains(QDir::toNativeSeparators(user.path)));
        QVERIFY(user.description().contains(QStringLiteral("用户数据文件夹")));
        const DataFolder given{QStringLiteral("/mnt/d"), DataFolder::Source::Explicit};
        QVERIFY(given.description().contains(QStringLiteral("--data")));
        const DataFolder beside{QStringLiteral("/opt/q"), DataFolder::Source::ProgramFolder};
        QVERIFY(beside.description().contains(QStringLiteral("程序所在文件夹")));
    }

    void userDataFolderIsNamedAfterTheProgram()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Quilloa"));
        QVERIFY(DataFolderChoice::userDataFolder().endsWith(QStringLiteral("/Quilloa")));
    }
};

QTEST_GUILESS_MAIN(TestDataFolderChoice)
#include "TestDataFolderChoice.moc"
