#pragma once

#include <QString>
#include <QStringList>

namespace quilloa::test {

class PostgresServer;

// Every row of one of the stores' tables, oldest first, as "rowid|value|…" with NULL as "∅" and
// the fee in ten-thousandths of a yuan: two stores hold the same rows, in the same order, with
// the same fees, exactly when these lists are equal. Read on a connection of its own.
QStringList fileRows(const QString& path, const QString& table);
QStringList serverRows(const PostgresServer& server, const QString& database, const QString& table);

// The names of a store file's records, oldest first, read on a read-only connection of its own.
QStringList fileNames(const QString& archive);
// What SQLite's integrity check says of a store file ("ok" when sound). Opened for writing, so a
// journal left by a killed program is rolled back first, as the program's next start would.
QString fileIntegrity(const QString& path);

// The six tables of the two stores.
QStringList storeTables();

} // namespace quilloa::test
