#pragma once

#include <QString>
#include <QStringList>

#include <span>

// The tables of the two stores, column by column, with each text column's length limit. The file
// store and the server store both build their tables from this one list, so a limit or a column
// can only ever change in one place for both engines.
namespace quilloa::storetables {

enum class ColumnKind
{
    Text, // limited in length; compares without regard to Latin case
    Memo, // unlimited text, same comparison
    Fee,  // an exact amount of money
};

struct Column
{
    const char* name;
    ColumnKind kind;
    int limit = 0;
};

struct Table
{
    const char* name;
    std::span<const Column> columns;
};

inline constexpr Column kRecords[] = {
    {"名称", ColumnKind::Text, 100}, {"姓名", ColumnKind::Text, 10}, {"性别", ColumnKind::Text, 5},
    {"年龄", ColumnKind::Text, 5},   {"日期", ColumnKind::Text, 50}, {"诊断", ColumnKind::Text, 50},
    {"地址", ColumnKind::Text, 50},  {"处方", ColumnKind::Memo},     {"医生", ColumnKind::Text, 10},
    {"配药", ColumnKind::Text, 10},  {"收费", ColumnKind::Fee},
};
inline constexpr Column kPassword[] = {{"密码", ColumnKind::Text, 50}};
inline constexpr Column kDrugs[] = {{"拼音", ColumnKind::Text, 50},
                                    {"名称", ColumnKind::Text, 200}};
inline constexpr Column kNamedList[] = {{"名称", ColumnKind::Text, 50},
                                        {"拼音", ColumnKind::Text, 50}};
inline constexpr Column kSettings[] = {
    {"医生", ColumnKind::Text, 10},    {"上边距", ColumnKind::Text, 50},
    {"左边距", ColumnKind::Text, 50},  {"上边距1", ColumnKind::Text, 50},
    {"左边距1", ColumnKind::Text, 50}, {"配药", ColumnKind::Text, 10},
    {"名称", ColumnKind::Text, 50},
};

inline constexpr Table kArchiveTables[] = {{"档案", kRecords}, {"密码", kPassword}};
inline constexpr Table kSettingsTables[] = {
    {"药品", kDrugs}, {"诊断", kNamedList}, {"地址", kNamedList}, {"设置", kSettings}};

// How one engine writes a column of each kind, and a table around its columns.
struct Dialect
{
    QString (*text)(const char* name, int limit);
    QString (*memo)(const char* name);
    QString (*fee)(const char* name);
    QString (*table)(const char* name, const QStringList& columns);
};

// The CREATE TABLE statements of `tables`, in the engine's own words.
QStringList createStatements(std::span<const Table> tables, const Dialect& dialect);

} // namespace quilloa::storetables
