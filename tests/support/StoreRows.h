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

// The six tables of the two stores.
QStringList storeTables();

} // namespace quilloa::test
