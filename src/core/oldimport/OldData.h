#pragma once

#include "core/oldimport/JetValue.h"
#include "core/oldimport/OldFolder.h"

#include <QList>
#include <QString>

#include <optional>

namespace quilloa {

// One entry of an old reference list.
struct OldEntry
{
    JetValue name; // 名称
    JetValue code; // 拼音
};

// What the older program's two stores hold, read and checked whole; the records themselves are
// read again when they are written, so an archive of many years never sits in memory.
struct OldData
{
    OldFolder folder;
    qint64 recordCount = 0;
    QString firstDate; // the least and greatest 日期 as text; empty when none is set
    QString lastDate;
    // The login password; none without an archive store (or without its row). NULL reads as "".
    std::optional<QString> password;
    QList<OldEntry> drugs;
    QList<OldEntry> diagnoses;
    QList<OldEntry> addresses;
    // 设置, in its stored column order; none without a settings store or row.
    std::optional<QList<JetValue>> settings;
};

} // namespace quilloa
