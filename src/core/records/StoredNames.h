#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace quilloa {

// Names in the order they were read, kept in the bytes the store holds them in (UTF-8) until
// one is shown or picked: a lookup list is refilled at every keystroke from thousands of
// entries, of which it draws a dozen.
class StoredNames
{
public:
    void append(QByteArrayView utf8);

    qsizetype size() const { return m_starts.size(); }
    bool isEmpty() const { return m_starts.isEmpty(); }
    // The name on `line`, which must exist.
    QString at(qsizetype line) const;
    QStringList toStringList() const;

private:
    QByteArray m_bytes;
    QList<qsizetype> m_starts; // each name ends where the next begins
};

} // namespace quilloa
