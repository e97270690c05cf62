#pragma once

#include "core/oldimport/JetStatus.h"
#include "core/oldimport/JetValue.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace quilloa {

// An old store opened for reading, never for writing. The rows of a table come in the store's
// own order (a row the store moved keeps its place) and only the live ones, each with the values
// of the columns asked for, in that order. The import knows nothing more of the file than this,
// so a test can hand it any rows it likes.
class JetFile
{
public:
    virtual ~JetFile() = default;

    using RowReader = std::function<void(const QList<JetValue>& values)>;
    // Hands every row of `table` to `reader`; fails (with the rows read so far handed out) when
    // the table, a column or a page cannot be read.
    virtual JetStatus readRows(const QString& table, const QStringList& columns,
                               const RowReader& reader) = 0;

protected:
    JetFile() = default;
    JetFile(const JetFile&) = default;
    JetFile& operator=(const JetFile&) = default;
};

// Opens the old store at a path; none, with `status` telling why, when it cannot be read.
using JetFileOpener =
    std::function<std::unique_ptr<JetFile>(const QString& path, JetStatus& status)>;

} // namespace quilloa
