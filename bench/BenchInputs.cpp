#include "BenchInputs.h"

#include "RawSqlite.h"

namespace quilloa::bench {
namespace {

QStringList spreadTexts(RawSqlite& db, const char* sql, qint64 rows)
{
    QStringList texts;
    for (int i = 0; i < BenchInputs::kSamples; ++i) {
        const auto rowId = std::int64_t(1 + (rows - 1) * (2 * i + 1) / (2 * BenchInputs::kSamples));
        texts << QString::fromStdString(db.text(sql, {rowId}));
    }
    return texts;
}

qint64 count(const std::string& text)
{
    return QString::fromStdString(text).toLongLong();
}

} // namespace

BenchInputs::BenchInputs(const BenchDataSet& data) : m_settingsFile(data.paths().settingsFile)
{
    RawSqlite settings(data.paths().settingsFile);
    m_drugCodes =
        spreadTexts(settings, "SELECT [拼音] FROM [药品] WHERE rowid = ?", BenchDataSet::kDrugs);
    m_diagnosisCodes = spreadTexts(settings, "SELECT [拼音] FROM [诊断] WHERE rowid = ?",
                                   BenchDataSet::kDiagnoses);
    m_addressCodes = spreadTexts(settings, "SELECT [拼音] FROM [地址] WHERE rowid = ?",
                                 BenchDataSet::kAddresses);
    RawSqlite archive(data.paths().archiveFile);
    m_recordKeys =
        spreadTexts(archive, "SELECT [名称] FROM [档案] WHERE rowid = ?", data.records());
    m_dayVisits = count(
        archive.text("SELECT count(*) FROM [档案] WHERE [日期] = ?", {dayText().toStdString()}));
    m_monthVisits = count(archive.text("SELECT count(*) FROM [档案] WHERE [日期] LIKE ?",
                                       {(monthText() + QLatin1Char('%')).toStdString()}));
}

QStringList BenchInputs::typed(const QStringList& codes, int letters)
{
    QStringList prefixes;
    for (const QString& code : codes) {
        const QString prefix = code.left(letters);
        if (prefix.size() == letters && !prefix.contains(QLatin1Char(' ')))
            prefixes << prefix;
    }
    return prefixes;
}

QStringList BenchInputs::keystrokes(const QStringList& codes) const
{
    QStringList all;
    for (int letters = 1; letters <= 3; ++letters)
        all << typed(codes, letters);
    return all;
}

} // namespace quilloa::bench
