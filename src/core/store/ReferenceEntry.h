#pragma once

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
struct ReferenceEntry
{
    qint64 rowId = 0;
    QString name;                // 名称
    std::optional<QString> code; // 拼音; none when the stored code is null
};

} // namespace quilloa
