#include "core/oldimport/OldDataReader.h"

#include <QRegularExpression>

#include <memory>

namespace quilloa {

namespace {

const storetables::Table& tableNamed(std::span<const storetables::Table> tables, const char* name)
{
    for (const storetables::Table& table : tables) {
        if (qstrcmp(table.name, name) == 0)
            return table;
    }
    Q_UNREACHABLE();
}

const storetables::Table& archiveTable(const char* name)
{
    return tableNamed(storetables::kArchiveTables, name);
}

const storetables::Table& settingsTable(const char* name)
{
    return tableNamed(storetables::kSettingsTables, name);
}

int columnIndex(const storetables::Table& table, const char* name)
{
    for (size_t i = 0; i < table.columns.size(); ++i) {
        if (qstrcmp(table.columns[i].name, name) == 0)
            return int(i);
    }
    return -1;
}

// How the user finds the row again in the old program: by its key or name, else by its place.
QString rowNamed(const storetables::Table& table, const QList<JetValue>& row, qint64 number)
{
    const QString tableName = QString::fromUtf8(table.name);
    if (tableName == QStringLiteral("设置"))
        return QStringLiteral("表“设置”中的设置记录");
    if (tableName == QStringLiteral("密码"))
        return QStringLiteral("表“密码”中的登录密码");
    const int key = columnIndex(table, "名称");
    const JetValue& value = row.at(key);
    const QString what =
        tableName == QStringLiteral("档案") ? QStringLiteral("记录") : QStringLiteral("一项");
    if (value.whole && !value.null)
        return QStringLiteral("表“%1”中名称为“%2”的%3").arg(tableName, value.text, what);
    return QStringLiteral("表“%1”中第%2行的%3").arg(tableName).arg(number).arg(what);
}

// Why a value cannot come over whole; empty when it can.
QString valueProblem(const storetables::Column& column, const JetValue& value)
{
    if (!value.whole)
        return QStringLiteral("“%1”一栏读不完整").arg(QString::fromUtf8(column.name));
    if (column.limit > 0 && !value.null && value.text.size() > column.limit)
        return QStringLiteral("“%1”一栏有%2个字，超过了这一栏的上限%3个字")
            .arg(QString::fromUtf8(column.name))
            .arg(value.text.size())
            .arg(column.limit);
    return QString();
}

QString rowProblem(const storetables::Table& table, const QList<JetValue>& row, qint64 number)
{
    for (size_t i = 0; i < table.columns.size(); ++i) {
        const QString problem = valueProblem(table.columns[i], row.at(qsizetype(i)));
        if (!problem.isEmpty())
            return rowNamed(table, row, number) + QStringLiteral("，") + problem;
    }
    return QString();
}

OldEntry entryOf(const storetables::Table& table, const QList<JetValue>& row)
{
    return {row.at(columnIndex(table, "名称")), row.at(columnIndex(table, "拼音"))};
}

} // namespace

OldDataReader::OldDataReader(JetFileOpener opener) : m_opener(std::move(opener)) {}

QStringList OldDataReader::columnsOf(const storetables::Table& table)
{
    QStringList columns;
    for (const storetables::Column& column : table.columns)
        columns << QString::fromUtf8(column.name);
    return columns;
}

JetStatus OldDataReader::readTable(JetFile& file, const QString& path,
                                   const storetables::Table& table, const RowReader& reader) const
{
    QString problem;
    qint64 number = 0;
    const JetStatus read = file.readRows(QString::fromUtf8(table.name), columnsOf(table),
                                         [&](const QList<JetValue>& row) {
                                             ++number;
                                             if (!problem.isEmpty())
                                                 return;
                                             problem = rowProblem(table, row, number);
                                             if (problem.isEmpty())
                                                 reader(row);
                                         });
    if (!problem.isEmpty())
        return JetStatus::failure(JetStatus::Fault::CutValue, path, problem);
    return read;
}

JetStatus OldDataReader::read(const OldFolder& folder, OldData& data,
                              const Progress& progress) const
{
    data = OldData();
    data.folder = folder;
    if (folder.hasArchiveFile()) {
        const JetStatus archive = readArchive(folder.archiveFile, data, progress);
        if (!archive.ok())
            return archive;
    }
    if (folder.hasSettingsFile())
        return readSettings(folder.settingsFile, data);
    return JetStatus::success();
}

JetStatus OldDataReader::readArchive(const QString& path, OldData& data,
                                     const Progress& progress) const
{
    JetStatus status;
    const std::unique_ptr<JetFile> file = m_opener(path, status);
    if (!file)
        return status;
    const int date = columnIndex(archiveTable("档案"), "日期");
    status = readTable(*file, path, archiveTable("档案"), [&](const QList<JetValue>& row) {
        ++data.recordCount;
        const JetValue& visit = row.at(date);
        // Dates typed in another form come over as they are, but would order wrongly here.
        static const QRegularExpression kDay(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
        if (!visit.null && kDay.match(visit.text).hasMatch()) {
            if (data.firstDate.isEmpty() || visit.text < data.firstDate)
                data.firstDate = visit.text;
            if (visit.text > data.lastDate)
                data.lastDate = visit.text;
        }
        if (progress && data.recordCount % 256 == 0)
            progress(data.recordCount);
    });
    if (!status.ok())
        return status;
    return readTable(*file, path, archiveTable("密码"), [&](const QList<JetValue>& row) {
        // The program reads the first row only; so does the import.
        if (!data.password)
            data.password = row.at(0).null ? QString() : row.at(0).text;
    });
}

JetStatus OldDataReader::readSettings(const QString& path, OldData& data) const
{
    JetStatus status;
    const std::unique_ptr<JetFile> file = m_opener(path, status);
    if (!file)
        return status;
    const std::pair<const char*, QList<OldEntry>*> lists[] = {
        {"药品", &data.drugs}, {"诊断", &data.diagnoses}, {"地址", &data.addresses}};
    for (const auto& [name, entries] : lists) {
        const storetables::Table& table = settingsTable(name);
        status = readTable(*file, path, table, [&table, entries](const QList<JetValue>& row) {
            entries->append(entryOf(table, row));
        });
        if (!status.ok())
            return status;
    }
    return readTable(*file, path, settingsTable("设置"), [&data](const QList<JetValue>& row) {
        if (!data.settings)
            data.settings = row;
    });
}

JetStatus OldDataReader::readRecords(const OldFolder& folder, const RecordReader& reader) const
{
    if (!folder.hasArchiveFile())
        return JetStatus::success();
    JetStatus status;
    const std::unique_ptr<JetFile> file = m_opener(folder.archiveFile, status);
    if (!file)
        return status;
    return readTable(*file, folder.archiveFile, archiveTable("档案"), reader);
}

} // namespace quilloa
