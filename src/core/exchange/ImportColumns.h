#pragma once

#include "core/records/ReferenceEntry.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace quilloa {

// Which column of an imported list file holds the name, the usage (drugs only) and the pinyin
// code. Without a heading they stand in the order the export writes them; a first line made
// only of column titles (名称 or 品名规格, 用法用量, 拼音码 …) names them instead, in any order.
class ImportColumns
{
public:
    static constexpr int kNone = -1;

    static ImportColumns inExportOrder(ReferenceList list);
    // The columns a heading names; none when the line is not a heading but a first entry.
    static std::optional<ImportColumns> fromHeading(ReferenceList list, const QStringList& cells);

    int name() const { return m_name; }
    int usage() const { return m_usage; }
    int code() const { return m_code; }
    // "名称取自“品名规格”列，用法取自“用法用量”列，拼音代码取自“拼音码”列" and so on.
    QString description() const;

private:
    enum class Title
    {
        Name,
        Usage,
        Code,
        Unused,
        NotATitle
    };
    static Title titleOf(const QString& cell);
    QString columnName(int column) const;

    int m_name = 0;
    int m_usage = kNone;
    int m_code = kNone;
    QStringList m_titles; // the heading's cells; empty without a heading
};

} // namespace quilloa
