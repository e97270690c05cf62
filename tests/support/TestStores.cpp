#include "support/TestStores.h"

#include "core/store/ServerSchema.h"
#include "core/store/StoreFile.h"
#include "support/PostgresServer.h"

#include <QtGlobal>

namespace quilloa::test {

bool TestStores::onServer()
{
    return qEnvironmentVariable("QUILLOA_TEST_ENGINE")
               .compare(QLatin1String("postgresql"), Qt::CaseInsensitive) == 0;
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

TestStores::TestStores(bool onServer)
    : m_server(onServer),
      m_folder(onServer ? TestProgramFolder::Stores::None : TestProgramFolder::Stores::Create)
{
    if (!m_server)
        return;
    m_database = server().createDatabase();
    if (m_database.isEmpty())
        qFatal("No database could be made on the test server: %s",
               qPrintable(server().errorString()));
    const StoreResult<StoreLocation> location =
        StoreLocation::server(server().connectionText(m_database));
    if (!location.ok())
        qFatal("The test server's connection text was refused: %s", qPrintable(location.error()));
    m_location = location.value();
    const StoreResult<bool> created = ServerSchema::ensure(StoreFile(m_location), false);
    if (!created.ok() || !created.value())
        qFatal("The tables could not be made on the test server: %s",
               qPrintable(created.ok() ? QStringLiteral("already there") : created.detail()));
}

TestStores::~TestStores()
{
    StoreFile::closeAll();
}

StoreFile TestStores::archiveFile() const
{
    return m_server ? StoreFile(m_location) : StoreFile(m_folder.paths().archiveFile);
}

StoreFile TestStores::settingsFile() const
{
    return m_server ? StoreFile(m_location) : StoreFile(m_folder.paths().settingsFile);
}

AppContext TestStores::context() const
{
    return AppContext(m_folder.path(), m_folder.clock(), m_location);
}

} // namespace quilloa::test
