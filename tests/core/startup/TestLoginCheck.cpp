#include "core/startup/KeyDerivation.h"
#include "core/startup/LoginCheck.h"
#include "core/startup/PasswordHash.h"
#include "core/store/ArchiveStore.h"
#include "support/StoreFaults.h"
#include "support/TestProgramFolder.h"

#include <QTest>

using namespace quilloa;
using quilloa::test::TestProgramFolder;

class TestLoginCheck : public QObject
{
    Q_OBJECT
private slots:
    void caseAndSurroundingBlanksDoNotCount_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("same") << "Abc9"
                              << "Abc9" << true;
        QTest::newRow("other case") << "aBC9"
                                    << "Abc9" << true;
        QTest::newRow("blanks typed") << "  abc9 "
                                      << "Abc9" << true;
        QTest::newRow("blanks stored") << "abc9"
                                       << " ABC9  " << true;
        QTest::newRow("inner blank counts") << "ab c9"
                                            << "abc9" << false;
        QTest::newRow("wrong") << "abd9"
                               << "abc9" << false;
        QTest::newRow("empty typed") << ""
                                     << "abc9" << false;
        QTest::newRow("blanks typed only") << "   "
                                           << "abc9" << false;
        QTest::newRow("prefix") << "abc"
                                << "abc9" << false;
        QTest::newRow("chinese") << " 密码 "
                                 << "密码" << true;
    }

    void caseAndSurroundingBlanksDoNotCount()
    {
        QFETCH(QString, typed);
        QFETCH(QString, password);
        QFETCH(bool, accepted);
        // The same answer against a clear password of an older store and against its hash.
        QCOMPARE(LoginCheck::accepts(typed, password), accepted);
        const QString hash = PasswordHash::make(password);
        QVERIFY(hash.size() <= 50 && !hash.contains(password.trimmed()));
        QCOMPARE(LoginCheck::check(typed, hash),
                 accepted ? LoginCheck::Verdict::Accepted : LoginCheck::Verdict::Refused);
    }

    // Every hash is salted afresh; a value that only looks like a hash lets nobody in.
    void saltedAndMalformedHashes()
    {
        const QString first = PasswordHash::make(QStringLiteral("abc9"));
        QVERIFY(first != PasswordHash::make(QStringLiteral("abc9")));
        QVERIFY(first.startsWith(QStringLiteral("pbkdf2$")));
        QString tampered = first;
        tampered[tampered.size() - 2] = tampered.at(tampered.size() - 2) == u'A' ? u'B' : u'A';
        for (const QString& bad : {tampered, QStringLiteral("pbkdf2$300$abc$def"),
                                   QStringLiteral("pbkdf2$"), first.left(first.size() - 1)})
            QCOMPARE(LoginCheck::check(QStringLiteral("abc9"), bad), LoginCheck::Verdict::Refused);
    }

    // Linux derives the key with libcrypto, Windows with its own bcrypt: both give the published
    // PBKDF2-HMAC-SHA256 values (the second longer than one SHA-256 block), and a hash stored
    // by one opens the login on the other.
    void keyDerivationIsTheSameEverywhere()
    {
        QCOMPARE(KeyDerivation::pbkdf2Sha256("password", "salt", 1, 32).toHex(),
                 QByteArray("120fb6cffcf8b32c43e7225256c4f837a86548c92ccc35480805987cb70be17b"));
        QCOMPARE(
            KeyDerivation::pbkdf2Sha256("passwordPASSWORDpassword",
                                        "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096, 40)
                .toHex(),
            QByteArray("348c89dbcbd32b2f32d814b8116e84cf2b17347ebc1800181c4e2a1fb8dd53e1c635518"
                       "c7dac47e9"));
        const QString stored = QStringLiteral("pbkdf2$1$AQIDBAUGBwgJCgsM$bpJDDEYNsjdOFRxYkT5VyA");
        QCOMPARE(LoginCheck::check(QStringLiteral(" 处方 ABC9"), stored),
                 LoginCheck::Verdict::Accepted);
    }

    // A clear password of an older store opens the login once more and is then replaced by its
    // hash; a hash is never written again, and a refused login writes nothing.
    void clearPasswordIsUpgradedOnce()
    {
        TestProgramFolder folder;
        ArchiveStore archive(folder.paths().archiveFile);
        QVERIFY(archive.setLoginPassword(QStringLiteral(" Abc9 ")).ok());
        QVERIFY(!LoginCheck::acceptAndUpgrade(QStringLiteral("abd9"), QStringLiteral(" Abc9 "),
                                              archive));
        QCOMPARE(archive.loginPassword().value(), QStringLiteral(" Abc9 "));
        {
            // The replacement cannot be written: the login is had, the cause comes back to be
            // told, and the clear password is replaced at the next login.
            test::LockedStore other(folder.paths().archiveFile);
            QVERIFY(other.isLocked());
            const LoginCheck::Outcome held = LoginCheck::acceptAndUpgrade(
                QStringLiteral("ABC9"), QStringLiteral(" Abc9 "), archive);
            QVERIFY(held.accepted);
            QCOMPARE(held.upgrade.fault(), StoreFault::Busy);
        }
        QCOMPARE(archive.loginPassword().value(), QStringLiteral(" Abc9 "));
        QVERIFY(
            LoginCheck::acceptAndUpgrade(QStringLiteral("ABC9"), QStringLiteral(" Abc9 "), archive)
                .upgrade.ok());
        const QString hash = archive.loginPassword().value();
        QVERIFY(PasswordHash::isHash(hash));
        QVERIFY(!hash.contains(QStringLiteral("bc9"), Qt::CaseInsensitive));
        QVERIFY(LoginCheck::acceptAndUpgrade(QStringLiteral("abc9 "), hash, archive));
        QCOMPARE(archive.loginPassword().value(), hash);
    }
};

QTEST_GUILESS_MAIN(TestLoginCheck)
#include "TestLoginCheck.moc"
