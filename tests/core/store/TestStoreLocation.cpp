#include "core/store/StoreLocation.h"
#include "core/store/server/PasswordFileLocation.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quilloa;

namespace {

void writeLine(const QString& path, const QByteArray& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

class TestStoreLocation : public QObject
{
    Q_OBJECT
private slots:
    void uriServiceAndWordsBecomeDriverOptions()
    {
        const auto uri = StoreLocation::server(QStringLiteral("postgresql://db.clinic:5433/门诊"));
        QVERIFY2(uri.ok(), qPrintable(uri.error()));
        QVERIFY(uri.value().isServer());
        QVERIFY(uri.value().connectOptions().contains(QStringLiteral("host='db.clinic'")));
        QVERIFY(uri.value().connectOptions().contains(QStringLiteral("port='5433'")));
        QVERIFY(uri.value().connectOptions().contains(QStringLiteral("dbname='门诊'")));
        QCOMPARE(uri.value().description(), QStringLiteral("数据库服务器 db.clinic:5433/门诊"));

        const auto service = StoreLocation::server(QStringLiteral("service=clinic"));
        QVERIFY(service.ok());
        QVERIFY(service.value().connectOptions().startsWith(QStringLiteral("service='clinic'")));
        QCOMPARE(service.value().description(), QStringLiteral("数据库服务器（服务 clinic）"));

        // A value with a quote or a space still reaches libpq as one value.
        const auto words =
            StoreLocation::server(QStringLiteral("host=/run/pg dbname='o\\'brien db'"));
        QVERIFY(words.ok());
        QVERIFY(words.value().connectOptions().contains(QStringLiteral("dbname='o\\'brien db'")));
        QCOMPARE(words.value().description(), QStringLiteral("数据库服务器 本机/o'brien db"));
    }

    void passwordsAndUnreadableTextsAreRefusedPlainly()
    {
        for (const char* text : {"postgresql://doctor:secret@db/clinic", "host=db password=secret",
                                 "postgresql://db/clinic?password=x"}) {
            const auto refused = StoreLocation::server(QString::fromUtf8(text));
            QVERIFY(!refused.ok());
            QVERIFY(refused.error().contains(PasswordFileLocation::shown()));
            QVERIFY(!refused.error().contains(QStringLiteral("secret")));
        }
        const auto garbled = StoreLocation::server(QStringLiteral("host=db nonsense"));
        QVERIFY(!garbled.ok());
        QVERIFY(garbled.error().contains(QStringLiteral("看不懂")));
        QVERIFY(!StoreLocation::server(QStringLiteral("host=a;b")).ok());
    }

    void commandLineBeatsSettingsFileBeatsStoreFiles()
    {
        QTemporaryDir dir;
        const QString settings = StoreLocation::settingsFileIn(dir.path());
        QVERIFY(!StoreLocation::choose(QString(), settings).value().isServer());

        writeLine(settings, "# the clinic's server\n\npostgresql://db/clinic\n");
        const auto fromFile = StoreLocation::choose(QString(), settings);
        QCOMPARE(fromFile.value().description(), QStringLiteral("数据库服务器 db/clinic"));
        const auto fromLine = StoreLocation::choose(QStringLiteral("service=x"), settings);
        QCOMPARE(fromLine.value().description(), QStringLiteral("数据库服务器（服务 x）"));

        // A password in the program's own file is refused, not quietly used or dropped.
        writeLine(settings, "postgresql://doctor:secret@db/clinic\n");
        const auto refused = StoreLocation::choose(QString(), settings);
        QVERIFY(!refused.ok());
        QVERIFY(refused.error().contains(settings));
    }
};

QTEST_GUILESS_MAIN(TestStoreLocation)
#include "TestStoreLocation.moc"
