#pragma once

#include "core/store/StoreResult.h"

#include <QString>

namespace quilloa {

// Where the two stores live: the store files in the data folder (a single desk, the default),
// or one database on a PostgreSQL server that several workstations share. A server is named the
// way every libpq tool names one, so a clinic's ~/.pgpass, service file and environment work as
// they do for psql; the password itself is never kept in the program's own files or options.
class StoreLocation
{
public:
    // The store files of the data folder.
    StoreLocation() = default;

    // A server named by a libpq connection text: a URI ("postgresql://host/dbname"), key=value
    // words ("host=… dbname=…") or a service ("service=clinic"). Refused, with the reason in
    // plain Chinese, when the text is not understood or carries a password.
    static StoreResult<StoreLocation> server(const QString& connectionText);

    // The location to use: `commandLineText` when given (--store), else the one line of the
    // settings file `settingsFile` when it exists, else the store files.
    static StoreResult<StoreLocation> choose(const QString& commandLineText,
                                             const QString& settingsFile);
    // The settings file of a data folder.
    static QString settingsFileIn(const QString& dataFolder);

    bool isServer() const { return !m_options.isEmpty(); }
    // key='value' words for the program's own server driver (ServerDriver), which hands them to
    // libpq as they stand.
    const QString& connectOptions() const { return m_options; }
    // "数据库服务器 host/dbname" (or the service name); never holds the password. Empty for the
    // store files.
    const QString& description() const { return m_description; }

    // Whether a store status path names a server rather than a file.
    static bool isServerText(const QString& path);

private:
    QString m_options;
    QString m_description;
};

} // namespace quilloa
