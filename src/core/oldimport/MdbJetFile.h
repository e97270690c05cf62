#pragma once

#include "core/oldimport/JetFile.h"
#include "core/oldimport/JetFilePath.h"

#include <memory>

namespace quilloa {

struct MdbHandleParts;

// An old store read with the Access-format library. The library's own row walk is not used: it
// shows a row Jet moved at its new place and a moved row that was later deleted as live, and its
// bound values cut long texts. Here the table's own row pointers decide which rows are live and
// where they stand, and texts and memos are read whole from their bytes or refused.
class MdbJetFile : public JetFile
{
public:
    ~MdbJetFile() override;

    // Opens the file read-only; none, with `status` telling why, when it cannot be read.
    static std::unique_ptr<JetFile> open(const QString& path, JetStatus& status);

    JetStatus readRows(const QString& table, const QStringList& columns,
                       const RowReader& reader) override;

private:
    MdbJetFile(QString path, std::unique_ptr<JetFilePath> native);

    QString m_path;
    std::unique_ptr<JetFilePath> m_native;
    std::unique_ptr<MdbHandleParts> m_parts;
};

} // namespace quilloa
