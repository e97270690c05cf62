#include "core/settings/ClinicSettings.h"
#include "core/startup/LoginCheck.h"
#include "core/store/StoreConnection.h"
#include "support/StoreFaults.h"
#include "support/TestProgramFolder.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <cstdio>
#include <memory>

using namespace quilloa;
using quilloa::test::DamagedStore;
using quilloa::test::TestProgramFolder;

class TestClinicSettings : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;

    SettingsStore settings() const { return m_folder->context().settings(); }
    ArchiveStore archive() const { return m_folder->context().archive(); }
    std::unique_ptr<ClinicSettings> held() const
    {
        return std::make_unique<ClinicSettings>(settings(), archive());
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        SettingsRecord r;
        r.clinicName = QStringLiteral("城东卫生院");
        r.doctor = QStringLiteral("李医生");
        r.dispenser = QStringLiteral("王芳");
        r.leftMargin = QStringLiteral("10");
        r.topMargin = QStringLiteral("20");
        r.cardLeftMargin = QStringLiteral("5");
        r.cardTopMargin = QStringLiteral("6");
        QVERIFY(settings().setSettings(r).ok());
        QVERIFY(archive().setLoginPassword(QStringLiteral("secret")).ok());
    }

    void cleanup() { m_folder.reset(); }

    // A typed value counts at once and survives a later read, which otherwise shows the store
    // as it now stands; forget() drops what was typed.
    void typedValuesCountAtOnceUntilForgotten()
    {
        const auto clinic = held();
        QSignalSpy changed(clinic.get(), &ClinicSettings::changed);
        QVERIFY(clinic->refresh().ok());
        QCOMPARE(clinic->value(ClinicSettings::Doctor), QStringLiteral("李医生"));
        QCOMPARE(clinic->storedPassword(), QStringLiteral("secret"));
        QCOMPARE(clinic->value(ClinicSettings::Password), QString());
        clinic->edit(ClinicSettings::Doctor, QStringLiteral("赵医生"));
        QVERIFY(changed.size() >= 2);
        SettingsRecord other = settings().settings().value();
        other.dispenser = QStringLiteral("孙芳");
        QVERIFY(settings().setSettings(other).ok());
        QVERIFY(clinic->refresh().ok());
        QCOMPARE(clinic->value(ClinicSettings::Doctor), QStringLiteral("赵医生"));
        QCOMPARE(clinic->value(ClinicSettings::Dispenser), QStringLiteral("孙芳"));

        clinic->forget();
        QCOMPARE(clinic->value(ClinicSettings::Doctor), QString());
        QVERIFY(clinic->refresh().ok());
        QCOMPARE(clinic->value(ClinicSettings::Doctor), QStringLiteral("李医生"));
        QCOMPARE(clinic->value(ClinicSettings::Dispenser), QStringLiteral("孙芳"));
    }

    // Settings that could not be read are never stored as if they had been: placeholders stay
    // out of the store, and once the store reads again only what was typed replaces it.
    void unreadSettingsAreNeverWrittenOver()
    {
        const auto clinic = held();
        {
            DamagedStore damaged(m_folder->paths().settingsFile);
            QVERIFY(!clinic->refresh().ok());
            QCOMPARE(clinic->value(ClinicSettings::LeftMargin), QStringLiteral("120"));
            clinic->edit(ClinicSettings::Dispenser, QStringLiteral("Wang"));
            const ClinicSettings::Saved refused = clinic->save();
            QVERIFY(!refused.ok());
            QVERIFY(!refused.readable.ok());
        }
        QCOMPARE(settings().settings().value().dispenser, QStringLiteral("王芳"));
        QVERIFY(clinic->save().ok());
        const SettingsRecord stored = settings().settings().value();
        QCOMPARE(stored.dispenser, QStringLiteral("Wang"));
        QCOMPARE(stored.clinicName, QStringLiteral("城东卫生院"));
        QCOMPARE(stored.leftMargin, QStringLiteral("10"));
    }

    // A password that could not be read is written only when one was typed.
    void unreadPasswordIsWrittenOnlyWhenTyped()
    {
        const auto clinic = held();
        {
            DamagedStore damaged(m_folder->paths().archiveFile);
            QVERIFY(clinic->refresh().ok());
            QVERIFY(!clinic->isPasswordLoaded());
            QVERIFY(!clinic->refreshAll().ok());
            QVERIFY(!clinic->hasPassword());
            const ClinicSettings::Saved saved = clinic->save();
            QVERIFY(saved.readable.ok() && saved.settings.ok() && saved.password.ok());
        }
        QCOMPARE(archive().loginPassword().value(), QStringLiteral("secret"));
        clinic->forget();
        {
            DamagedStore damaged(m_folder->paths().archiveFile);
            clinic->edit(ClinicSettings::Password, QStringLiteral("new"));
            QVERIFY(!clinic->save().password.ok());
        }
        QVERIFY(clinic->save().ok());
        QVERIFY(LoginCheck::check(QStringLiteral("New"), archive().loginPassword().value()) ==
                LoginCheck::Verdict::Accepted);
    }

    // Another settings file moved over the store while the program runs is what is shown and
    // what 确 定 writes to: only the typed value replaces what that file holds.
    void aReplacedStoreIsSeenAndNotWrittenOver()
    {
        const auto clinic = held();
        QVERIFY(clinic->refresh().ok());
        TestProgramFolder other;
        SettingsRecord moved = other.context().settings().settings().value();
        moved.clinicName = QStringLiteral("城西诊所");
        QVERIFY(other.context().settings().setSettings(moved).ok());
        StoreConnection::closeAll();
        const QString live = m_folder->paths().settingsFile;
        QVERIFY(QFile::copy(other.paths().settingsFile, live + ".moved"));
        QVERIFY(std::rename(QFile::encodeName(live + ".moved"), QFile::encodeName(live)) == 0);
        clinic->edit(ClinicSettings::Doctor, QStringLiteral("赵医生"));
        QVERIFY(clinic->refresh().ok());
        QCOMPARE(clinic->value(ClinicSettings::ClinicName), QStringLiteral("城西诊所"));
        // The doctor typed over was another one than the moved file holds: the user is asked.
        const ClinicSettings::Saved asked = clinic->save();
        QCOMPARE(asked.conflicts.size(), 1);
        QCOMPARE(asked.conflicts.first().field, ClinicSettings::Doctor);
        clinic->keepMine(ClinicSettings::Doctor);
        QVERIFY(clinic->save().ok());
        const SettingsRecord stored = settings().settings().value();
        QCOMPARE(stored.clinicName, QStringLiteral("城西诊所"));
        QCOMPARE(stored.doctor, QStringLiteral("赵医生"));
    }
};

QTEST_MAIN(TestClinicSettings)
#include "TestClinicSettings.moc"
