#include "core/records/ReferenceEntry.h"

#include <utility>

namespace quilloa {

ReferenceEntry::ReferenceEntry(qint64 rowId, const QString& name,
                               const std::optional<QString>& code)
    : m_rowId(rowId), m_texts(new StoredTexts)
{
    m_texts->bytes = name.toUtf8();
    m_nameBytes = int(m_texts->bytes.size());
    if (code) {
        m_texts->bytes.append(code->toUtf8());
        m_codeBytes = int(m_texts->bytes.size()) - m_nameBytes;
    }
}

ReferenceEntry::ReferenceEntry(qint64 rowId, QExplicitlySharedDataPointer<StoredTexts> texts,
                               int start, int nameBytes, int codeBytes)
    : m_rowId(rowId), m_texts(std::move(texts)), m_start(start), m_nameBytes(nameBytes),
      m_codeBytes(codeBytes)
{
}

const char* ReferenceEntry::textAt(int offset) const
{
    return m_texts ? m_texts->bytes.constData() + m_start + offset : "";
}

QString ReferenceEntry::name() const
{
    return QString::fromUtf8(textAt(0), m_nameBytes);
}

std::optional<QString> ReferenceEntry::code() const
{
    if (m_codeBytes == kNoCode)
        return std::nullopt;
    return QString::fromUtf8(textAt(m_nameBytes), m_codeBytes);
}

} // namespace quilloa
