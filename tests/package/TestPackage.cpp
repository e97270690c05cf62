// Builds the Debian package once, unpacks it into a temporary root and starts the unpacked
// program headless, the way a clinic's installed copy starts, to see where its data lands.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kAppId = QStringLiteral("org.quilloa.Quilloa");

struct Run
{
    int exitCode = -1;
    QString output;
};

Run run(const QString& program, const QStringList& arguments,
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
        int timeoutMs = 300000)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.output = QStringLiteral("did not finish: ") + program;
        return result;
    }
    result.output = QString::fromLocal8Bit(process.readAll());
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return result;
}

QStringList filesBelow(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

bool holdsStores(const QString& folder)
{
    return QFile::exists(folder + QStringLiteral("/数据库/档案.dat")) &&
           QFile::exists(folder + QStringLiteral("/数据库/设置.dat"));
}

} // namespace

class TestPackage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        m_build = qEnvironmentVariable("QUILLOA_BUILD_DIR");
        const QString& build = m_build;
        QVERIFY2(!build.isEmpty(), "QUILLOA_BUILD_DIR is not set");
        const Run cpack =
            run(QStringLiteral("cpack"),
                {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                 build + QStringLiteral("/CPackConfig.cmake"), QStringLiteral("-B"),
                 m_work.filePath(QStringLiteral("out"))});
        QVERIFY2(cpack.exitCode == 0, qPrintable(cpack.output));
        const QStringList debs = QDir(m_work.filePath(QStringLiteral("out")))
                                     .entryList({QStringLiteral("quilloa_*.deb")}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        m_deb = m_work.filePath(QStringLiteral("out/") + debs.first());
        m_root = m_work.filePath(QStringLiteral("root"));
        const Run unpack = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), m_deb, m_root});
        QVERIFY2(unpack.exitCode == 0, qPrintable(unpack.output));
        m_program = m_root + QStringLiteral("/usr/bin/quilloa");
    }

    void packageHoldsProgramMenuEntryIconsAndDocuments()
    {
        const QStringList files = filesBelow(m_root);
        QStringList expected = {
            QStringLiteral("usr/bin/quilloa"),
            QStringLiteral("usr/share/applications/") + kAppId + QStringLiteral(".desktop"),
            QStringLiteral("usr/share/metainfo/") + kAppId + QStringLiteral(".metainfo.xml"),
            QStringLiteral("usr/share/icons/hicolor/scalable/apps/") + kAppId +
                QStringLiteral(".svg"),
            QStringLiteral("usr/share/doc/quilloa/copyright"),
            QStringLiteral("usr/share/doc/quilloa/changelog.gz"),
            QStringLiteral("usr/share/doc/quilloa/README.md"),
            QStringLiteral("usr/share/doc/quilloa/docs/server.md"),
            QStringLiteral("usr/share/man/man1/quilloa.1.gz")};
        for (int size : {16, 32, 48, 256})
            expected << QStringLiteral("usr/share/icons/hicolor/%1x%1/apps/%2.png")
                            .arg(size)
                            .arg(kAppId);
        for (const QString& file : expected)
            QVERIFY2(files.contains(file), qPrintable(file));
        QCOMPARE(QImage(m_root + QLatin1Char('/') + expected.last()).size(), QSize(256, 256));
    }

    void dependsOnDriverTranslationsAndFaces()
    {
        const Run depends = run(QStringLiteral("dpkg-deb"),
                                {QStringLiteral("-f"), m_deb, QStringLiteral("Depends")});
        QCOMPARE(depends.exitCode, 0);
        for (const char* package : {"libqt6sql6-sqlite", "libpq5", "libqt6widgets6", "libqt6svg6",
                                    "qt6-translations-l10n", "fonts-arphic-ukai", "fonts-noto-cjk"})
            QVERIFY2(depends.output.contains(QLatin1String(package)), qPrintable(depends.output));
        const Run more = run(
            QStringLiteral("dpkg-deb"),
            {QStringLiteral("-f"), m_deb, QStringLiteral("Suggests"), QStringLiteral("Homepage")});
        QVERIFY2(more.output.contains(QStringLiteral("Suggests: postgresql")) &&
                     more.output.contains(QStringLiteral("Homepage: https://")),
                 qPrintable(more.output));
    }

    // Bound at start with read-only relocations, fortified calls, no compiler notes; and the
    // same source packed twice gives the same bytes.
    void programIsHardenedAndPackageReproducible()
    {
        const Run elf = run(QStringLiteral("readelf"),
                            {QStringLiteral("-lSdW"), QStringLiteral("--dyn-syms"), m_program});
        QCOMPARE(elf.exitCode, 0);
        // Sanitizer and Debug builds leave the hardening out; their package is still checked
        // for the rest.
        if (QUILLOA_HARDENED) {
            for (const char* mark : {"GNU_RELRO", "BIND_NOW", "_chk"})
                QVERIFY2(elf.output.contains(QLatin1String(mark)), mark);
        }
        QVERIFY(!elf.output.contains(QStringLiteral(".comment")));
        const QString again = m_work.filePath(QStringLiteral("again"));
        const Run cpack =
            run(QStringLiteral("cpack"),
                {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                 m_build + QStringLiteral("/CPackConfig.cmake"), QStringLiteral("-B"), again});
        QVERIFY2(cpack.exitCode == 0, qPrintable(cpack.output));
        QFile first(m_deb), second(again + QLatin1Char('/') + QFileInfo(m_deb).fileName());
        QVERIFY(first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly));
        QVERIFY(first.readAll() == second.readAll());
    }

    void menuEntryAndMetainfoValidate()
    {
        const QString share = m_root + QStringLiteral("/usr/share/");
        const Run entry =
            run(QStringLiteral("desktop-file-validate"),
                {share + QStringLiteral("applications/") + kAppId + QStringLiteral(".desktop")});
        QVERIFY2(entry.exitCode == 0, qPrintable(entry.output));
        QVERIFY2(!entry.output.contains(QStringLiteral("error")), qPrintable(entry.output));
        const Run metainfo =
            run(QStringLiteral("appstreamcli"),
                {QStringLiteral("validate"), QStringLiteral("--no-net"),
                 share + QStringLiteral("metainfo/") + kAppId + QStringLiteral(".metainfo.xml")});
        QVERIFY2(metainfo.exitCode == 0, qPrintable(metainfo.output));
    }

    void installedProgramKeepsItsDataInTheUserFolder()
    {
        QTemporaryDir home;
        const QStringList before = filesBelow(m_root);
        const Run started =
            run(m_program, {QStringLiteral("--quit-after-start")}, headless(home.path()));
        QVERIFY2(started.exitCode == 0, qPrintable(started.output));
        QVERIFY(holdsStores(userFolder(home.path())));
        QCOMPARE(filesBelow(m_root), before);
    }

    void writableCopyKeepsItsDataBesideTheProgram()
    {
        QTemporaryDir home, portable;
        const QString copy = portable.filePath(QStringLiteral("quilloa"));
        QVERIFY(QFile::copy(m_program, copy));
        const Run started =
            run(copy, {QStringLiteral("--quit-after-start")}, headless(home.path()));
        QVERIFY2(started.exitCode == 0, qPrintable(started.output));
        QVERIFY(holdsStores(portable.path()));
        QVERIFY(!QFile::exists(userFolder(home.path())));
    }

    void dataOptionChoosesTheFolder()
    {
        QTemporaryDir home, elsewhere;
        const QString chosen = elsewhere.filePath(QStringLiteral("诊所数据"));
        const QStringList before = filesBelow(m_root);
        const Run started =
            run(m_program, {QStringLiteral("--data"), chosen, QStringLiteral("--quit-after-start")},
                headless(home.path()));
        QVERIFY2(started.exitCode == 0, qPrintable(started.output));
        QVERIFY(holdsStores(chosen));
        QVERIFY(!QFile::exists(userFolder(home.path())));
        QCOMPARE(filesBelow(m_root), before);
    }

    // Help and version are asked for in a terminal, often without any screen.
    void helpAndVersionWorkWithoutAScreen()
    {
        QTemporaryDir home;
        QProcessEnvironment environment = headless(home.path());
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        const Run version = run(m_program, {QStringLiteral("--version")}, environment);
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.output, QStringLiteral("quilloa 2.0\n"));
        const Run help = run(m_program, {QStringLiteral("--help")}, environment);
        QCOMPARE(help.exitCode, 0);
        QVERIFY2(help.output.contains(QStringLiteral("--data")), qPrintable(help.output));
        QVERIFY2(help.output.contains(userFolder(home.path())), qPrintable(help.output));
        const Run helpAll = run(m_program, {QStringLiteral("--help-all")}, environment);
        QCOMPARE(helpAll.exitCode, 0);
        QVERIFY2(helpAll.output.contains(QStringLiteral("--data")), qPrintable(helpAll.output));
        // A wrong command line is named, not ended by the window system finding no display.
        const QList<QPair<QStringList, QString>> wrongLines{
            {{QStringLiteral("--colour")}, QStringLiteral("colour")},
            {{QStringLiteral("处方.csv")}, QStringLiteral("处方.csv")},
            {{QStringLiteral("--data")}, QStringLiteral("data")}};
        for (const auto& [arguments, named] : wrongLines) {
            const Run wrong = run(m_program, arguments, environment);
            QCOMPARE(wrong.exitCode, 1);
            QVERIFY2(wrong.output.contains(named), qPrintable(wrong.output));
        }
        QVERIFY(!QFile::exists(userFolder(home.path())));
    }

    void lintianFindsNoErrors()
    {
        const QString lintian = QStandardPaths::findExecutable(QStringLiteral("lintian"));
        if (lintian.isEmpty())
            QSKIP("lintian is not installed");
        const Run check =
            run(lintian, {QStringLiteral("--fail-on"), QStringLiteral("error"), m_deb});
        QVERIFY2(check.exitCode == 0, qPrintable(check.output));
    }

private:
    static QString userFolder(const QString& home)
    {
        return home + QStringLiteral("/.local/share/Quilloa");
    }

    // Offscreen, with every per-user folder inside `home` and no screen to fall back on.
    static QProcessEnvironment headless(const QString& home)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), home);
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
        const QString runtime = home + QStringLiteral("/runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        return environment;
    }

    QTemporaryDir m_work;
    QString m_build;
    QString m_deb;
    QString m_root;
    QString m_program;
};

QTEST_GUILESS_MAIN(TestPackage)
#include "TestPackage.moc"
