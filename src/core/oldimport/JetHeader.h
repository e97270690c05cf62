#pragma once

#include "core/oldimport/JetStatus.h"

#include <QString>

namespace quilloa {

// What the first page of a file says it is, read before the file is handed to the reader, so
// that a file of another kind or format is refused with its own message.
class JetHeader
{
public:
    static constexpr qint64 kPageSize = 4096;

    // Success only for a Jet 4 (Access 2000) database whose size is whole pages.
    [[nodiscard]] static JetStatus probe(const QString& path);
};

} // namespace quilloa
