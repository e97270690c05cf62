#pragma once

#include "core/startup/AppContext.h"
#include "core/store/StoreLocation.h"
#include "support/TestProgramFolder.h"

#include <QSqlDatabase>
#include <QString>

namespace quilloa::test {

class PostgresServer;

// The fresh, empty stores (no sample entries) a store test works on: the store files of a
// temporary program folder, or, when the environment variable QUILLOA_TEST_ENGINE is
// "postgresql", a new database on a test server this process starts on first use. The same test
// then proves the same meaning on both engines. A server that cannot be started ends the test
// run with the reason, so a machine without the server programs fails instead of passing.
class TestStores
{
public:
    // On the server when `server` is set; by default as the environment says. A server
    // database is made with `databaseOptions` (an encoding or locale) when given.
    // With `workstation`, the database is prepared by its owner role and the stores connect as
    // a login role in the workstation group, with only the rights that group is given.
    explicit TestStores(bool onServer = TestStores::onServer(),
                        const QString& databaseOptions = QString(),
                        bool workstation = TestStores::asWorkstation());
    ~TestStores();

    static bool onServer();
    // QUILLOA_TEST_ENGINE=postgresql-workstation: on the server, as a workstation role.
    static bool asWorkstation();
    static inline const QString kOwnerRole = QStringLiteral("quilloa_owner");
    static inline const QString kWorkstationGroup = QStringLiteral("quilloa_rooms");
    static inline const QString kWorkstationRole = QStringLiteral("quilloa_room");
    // The server of this process, started when first asked for; fails the run if it cannot be.
    static PostgresServer& server();

    const StoreLocation& location() const { return m_location; }
    StoreConnection archiveFile() const;
    StoreConnection settingsFile() const;
    ArchiveStore archive() const { return ArchiveStore(archiveFile()); }
    SettingsStore settings() const { return SettingsStore(settingsFile()); }
    AppContext context() const;
    const TestProgramFolder& folder() const { return m_folder; }
    // Runs `sql` on a connection of its own to the same store (the settings store unless
    // `archive`), as another room would; true when it ran.
    bool runElsewhere(const QString& sql, bool archive = false) const;
    // The server database's name; empty for the store files.
    const QString& database() const { return m_database; }

private:
    // The owner and workstation roles, made once on the server of this process.
    static void makeRoles();
    bool m_server;
    TestProgramFolder m_folder;
    StoreLocation m_location;
    QString m_database;
};

} // namespace quilloa::test
