#pragma once

#include "core/records/StoredTextBlocks.h"

#include <QByteArray>
#include <QExplicitlySharedDataPointer>
#include <QSharedData>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace quilloa {

// The three reference lists of the settings store.
enum class ReferenceList
{
    Drugs,     // 药品: 拼音, 名称 (name, then "/" and the usage when there is one)
    Diagnoses, // 诊断: 名称, 拼音
    Addresses, // 地址: 名称, 拼音
};

// One entry of a reference list, with the row it came from so edits reach exactly that row.
// The texts stay in the bytes the store keeps them in until they are used: the entries of one
// read share a few buffers, so a list of 20,000 drugs is read without two strings per row, and
// a window converts only the lines it draws.
class ReferenceEntry
{
public:
    ReferenceEntry() = default;
    ReferenceEntry(qint64 rowId, const QString& name, const std::optional<QString>& code);
    // An entry whose name, then right after it its code, lie in `texts` from `start` on.
    // `codeBytes` is kNoCode when the stored code is null.
    static constexpr int kNoCode = -1;
    ReferenceEntry(qint64 rowId, QExplicitlySharedDataPointer<StoredTexts> texts, int start,
                   int nameBytes, int codeBytes);

    qint64 rowId() const { return m_rowId; }
    QString name() const; // 名称
    // 拼音; none when the stored code is null.
    std::optional<QString> code() const;

private:
    const char* textAt(int offset) const;

    qint64 m_rowId = 0;
    QExplicitlySharedDataPointer<StoredTexts> m_texts;
    int m_start = 0;
    int m_nameBytes = 0;
    int m_codeBytes = kNoCode;
};

} // namespace quilloa

Q_DECLARE_TYPEINFO(quilloa::ReferenceEntry, Q_RELOCATABLE_TYPE);
