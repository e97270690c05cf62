#pragma once

#include "core/records/PrescriptionRecord.h"
#include "core/store/StoreConnection.h"
#include "core/store/StoreResult.h"

#include <QList>
#include <QString>
#include <QVariantList>

namespace quilloa {

// The archive searches on a server, answered from its own indexes (ServerSearchIndex) with the
// same rows in the same order as a store file gives: a date typed from its start goes through
// the date index; otherwise a name with a character reads the rows holding every typed
// character, and the typed text is then matched as usual among those rows alone.
class ServerSearch
{
public:
    explicit ServerSearch(StoreConnection server);

    StoreResult<QList<qint64>> rows(const QString& nameText, const QString& datePrefix) const;
    StoreResult<QList<ArchiveEntry>> entries(const QString& nameText,
                                             const QString& datePrefix) const;

    // The first statement a search sends, with its values; `blocks` when it reads the
    // character index, whose rows are a block number and its bits.
    struct Statement
    {
        QString sql;
        QVariantList values;
        bool blocks = false;
    };
    static Statement statement(const QString& nameText, const QString& datePrefix, bool rowsOnly);

private:
    StoreResult<QList<qint64>> candidates(const Statement& blocks) const;
    StoreResult<QList<ArchiveEntry>> read(const Statement& query) const;

    StoreConnection m_server;
};

} // namespace quilloa
