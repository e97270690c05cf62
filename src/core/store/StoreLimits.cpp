#include "core/store/StoreLimits.h"

#include "core/store/StoreTables.h"

#include <QRegularExpression>
#include <QStringList>
#include <QVariant>

namespace quilloa {
namespace {

// The limit of a text column of the program's tables, or 0 for none.
int limitOf(const QString& table, const QString& column)
{
    for (const auto& tables : {std::span<const storetables::Table>(storetables::kArchiveTables),
                               std::span<const storetables::Table>(storetables::kSettingsTables)}) {
        for (const storetables::Table& known : tables) {
            if (table != QString::fromUtf8(known.name))
                continue;
            for (const storetables::Column& c : known.columns) {
                if (column == QString::fromUtf8(c.name))
                    return c.kind == storetables::ColumnKind::Text ? c.limit : 0;
            }
        }
    }
    return 0;
}

// The columns the statement's placeholders fill, in their order; the table in *table.
QStringList boundColumns(const QString& sql, QString* table)
{
    static const QRegularExpression insert(
        QStringLiteral("^INSERT INTO \"([^\"]+)\" \\(([^)]*)\\) VALUES"));
    static const QRegularExpression update(QStringLiteral("^UPDATE \"([^\"]+)\" SET (.*?) WHERE"));
    static const QRegularExpression assigned(QStringLiteral("\"([^\"]+)\" = \\?"));
    static const QRegularExpression named(QStringLiteral("\"([^\"]+)\""));
    QStringList columns;
    const QRegularExpressionMatch inserted = insert.match(sql);
    const QRegularExpressionMatch updated = inserted.hasMatch() ? inserted : update.match(sql);
    if (!updated.hasMatch())
        return columns;
    *table = updated.captured(1);
    auto each = (inserted.hasMatch() ? named : assigned).globalMatch(updated.captured(2));
    while (each.hasNext())
        columns << each.next().captured(1);
    return columns;
}

} // namespace

qsizetype StoreLimits::characters(const QString& text)
{
    qsizetype count = 0;
    for (const QChar c : text)
        count += c.isLowSurrogate() ? 0 : 1;
    return count;
}

StoreStatus StoreLimits::check(const QString& sql, const QVariantList& values, const QString& path)
{
    // Reads, the calls made at every keystroke, are let through without a pattern match.
    if (!sql.startsWith(QLatin1String("INSERT")) && !sql.startsWith(QLatin1String("UPDATE")))
        return StoreStatus::success();
    QString table;
    const QStringList columns = boundColumns(sql, &table);
    for (qsizetype i = 0; i < columns.size() && i < values.size(); ++i) {
        const int limit = limitOf(table, columns.at(i));
        if (limit > 0 && values.at(i).typeId() == QMetaType::QString &&
            characters(values.at(i).toString()) > limit)
            return StoreStatus::failure(
                StoreFault::TooLong, path,
                QStringLiteral("\"%1_长度_%2\"").arg(columns.at(i)).arg(limit));
    }
    return StoreStatus::success();
}

} // namespace quilloa
