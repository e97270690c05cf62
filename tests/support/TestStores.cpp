#include "support/TestStores.h"

#include "core/store/StoreConnection.h"
#include "core/store/server/ServerPreparation.h"
#include "core/store/server/ServerSchema.h"
#include "support/PostgresServer.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QtGlobal>

namespace quilloa::test {

bool TestStores::onServer()
{
    return qEnvironmentVariable("QUILLOA_TEST_ENGINE")
        .startsWith(QLatin1String("postgresql"), Qt::CaseInsensitive);
}

bool TestStores::asWorkstation()
{
    return qEnvironmentVariable("QUILLOA_TEST_ENGINE")
               .compare(QLatin1String("postgresql-workstation"), Qt::CaseInsensitive) == 0;
}

void TestStores::makeRoles()
{
    static bool made = false;
    if (made)
        return;
    const QString name = QStringLiteral("make-roles");
    {
        QSqlDatabase db = server().addConnection(name, QStringLiteral("postgres"));
        QSqlQuery query(db);
        made =
            db.open() && query.exec(QStringLiteral("CREATE ROLE %1 LOGIN; CREATE ROLE %2 NOLOGIN; "
                                                   "CREATE ROLE %3 LOGIN IN ROLE %2")
                                        .arg(kOwnerRole, kWorkstationGroup, kWorkstationRole));
        if (!made)
            qFatal("The test roles could not be made: %s", qPrintable(query.lastError().text()));
    }
    QSqlDatabase::removeDatabase(name);
}

PostgresServer& TestStores::server()
{
    static PostgresServer running;
    if (!running.isRunning() && !running.start())
        qFatal("The PostgreSQL test server could not be started (the store tests run against it "
               "because QUILLOA_TEST_ENGINE=postgresql; Debian: apt-get install postgresql): %s",
               qPrintable(running.errorString()));
    return running;
}

TestStores::TestStores(bool onServer, const QString& databaseOptions, bool workstation)
    : m_server(onServer),
      m_folder(onServer ? TestProgramFolder::Stores::None : TestProgramFolder::Stores::Create)
{
    if (!m_server)
        return;
    if (workstation)
        makeRoles();
    m_database = server().createDatabase(
        QString(),
        workstation ? databaseOptions + QStringLiteral(" OWNER ") + kOwnerRole : databaseOptions);
    if (m_database.isEmpty())
        qFatal("No database could be made on the test server: %s",
               qPrintable(server().errorString()));
    if (workstation) {
        const auto owner = StoreLocation::server(server().connectionText(m_database) +
                                                 QStringLiteral(" user=") + kOwnerRole);
        const ServerPreparation::Outcome prepared =
            ServerPreparation::prepare(owner.value(), kWorkstationGroup, false);
        StoreConnection::closeAll();
        if (!prepared.ok)
            qFatal("The test database could not be prepared: %s", qPrintable(prepared.message));
        m_location = StoreLocation::server(server().connectionText(m_database) +
                                           QStringLiteral(" user=") + kWorkstationRole)
                         .value();
        return;
    }
    const StoreResult<StoreLocation> location =
        StoreLocation::server(server().connectionText(m_database));
    if (!location.ok())
        qFatal("The test server's connection text was refused: %s", qPrintable(location.error()));
    m_location = location.value();
    const StoreResult<bool> created = ServerSchema::ensure(StoreConnection(m_location), false);
    if (!created.ok() || !created.value())
        qFatal("The tables could not be made on the test server: %s",
               qPrintable(created.ok() ? QStringLiteral("already there") : created.detail()));
}

TestStores::~TestStores()
{
    StoreConnection::closeAll();
}

StoreConnection TestStores::archiveFile() const
{
    return m_server ? StoreConnection(m_location) : StoreConnection(m_folder.paths().archiveFile);
}

StoreConnection TestStores::settingsFile() const
{
    return m_server ? StoreConnection(m_location) : StoreConnection(m_folder.paths().settingsFile);
}

AppContext TestStores::context() const
{
    return AppContext(m_folder.path(), m_folder.clock(), m_location);
}

bool TestStores::runElsewhere(const QString& sql, bool archive) const
{
    const QString name = QStringLiteral("another-room");
    bool ran = false;
    {
        QSqlDatabase db = m_server ? server().addConnection(name, m_database)
                                   : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        if (!m_server)
            db.setDatabaseName(archive ? m_folder.paths().archiveFile
                                       : m_folder.paths().settingsFile);
        QSqlQuery query(db);
        ran = db.open() && query.exec(sql);
        if (!ran)
            qWarning("Another room's statement failed: %s", qPrintable(query.lastError().text()));
    }
    QSqlDatabase::removeDatabase(name);
    return ran;
}

} // namespace quilloa::test
