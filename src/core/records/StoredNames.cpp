#include "core/records/StoredNames.h"

namespace quilloa {

void StoredNames::append(QByteArrayView utf8)
{
    m_starts.append(m_bytes.size());
    m_bytes.append(utf8);
}

QString StoredNames::at(qsizetype line) const
{
    const qsizetype start = m_starts.at(line);
    const qsizetype end = line + 1 < m_starts.size() ? m_starts.at(line + 1) : m_bytes.size();
    return QString::fromUtf8(m_bytes.constData() + start, end - start);
}

QStringList StoredNames::toStringList() const
{
    QStringList names;
    names.reserve(size());
    for (qsizetype line = 0; line < size(); ++line)
        names.append(at(line));
    return names;
}

} // namespace quilloa
