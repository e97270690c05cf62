#include "core/oldimport/OldDataImport.h"

#include "core/oldimport/ImportReport.h"
#include "core/oldimport/ImportWriter.h"
#include "core/oldimport/MdbJetFile.h"
#include "core/oldimport/OldDataReader.h"

#include <QDir>

namespace quilloa {

OldDataImport::OldDataImport(StorePaths paths, JetFileOpener opener)
    : m_paths(std::move(paths)), m_opener(std::move(opener))
{
}

JetFileOpener OldDataImport::defaultOpener()
{
    return &MdbJetFile::open;
}

JetStatus OldDataImport::survey(const QString& oldFolder, OldData& data,
                                const Progress& progress) const
{
    const OldFolder folder = OldFolder::locate(oldFolder);
    if (folder.isEmpty())
        return JetStatus::failure(JetStatus::Fault::NoStores, oldFolder);
    const OldDataReader reader(m_opener);
    return reader.read(folder, data, [&progress](qint64 records) {
        if (progress)
            progress(records, false);
    });
}

OldDataImport::Outcome OldDataImport::write(const OldData& data, SettingsChoice choice, bool dryRun,
                                            const QDateTime& now, const Progress& progress) const
{
    const OldDataReader reader(m_opener);
    ImportWriter writer(m_paths, data, reader);
    const ImportWriter::Result result =
        writer.run(choice, dryRun, now, [&progress](qint64 records) {
            if (progress)
                progress(records, true);
        });
    Outcome outcome;
    outcome.ok = result.status.ok();
    outcome.counts = result.counts;
    outcome.savedFolder = result.savedFolder;
    outcome.message = outcome.ok
                          ? ImportReport::done(data, result.counts, dryRun, result.savedFolder)
                          : QStringLiteral("没有导入：%1").arg(result.status.error());
    return outcome;
}

QString OldDataImport::serverRefusal(const StoreLocation& location)
{
    return QStringLiteral(
               "没有导入：数据存放在%1上，旧数据只能导入本机的数据文件夹。请先用 "
               "quilloa --data 新文件夹 --import-old-data 旧程序文件夹 把旧数据导入一个新的"
               "数据文件夹，再用 --copy-stores-to 把它复制到服务器上一个新建的空数据库。")
        .arg(location.description());
}

OldDataImport::Outcome OldDataImport::run(const QString& oldFolder, const StoreLocation& location,
                                          bool dryRun, const QDateTime& now) const
{
    if (location.isServer())
        return {false, serverRefusal(location), {}, {}};
    OldData data;
    const JetStatus read = survey(oldFolder, data);
    if (!read.ok())
        return {false, QStringLiteral("没有导入：%1").arg(read.message()), {}, {}};
    Outcome outcome = write(data, SettingsChoice::Auto, dryRun, now);
    if (outcome.ok)
        outcome.message = ImportReport::found(data) + QStringLiteral("\n\n") + outcome.message;
    return outcome;
}

} // namespace quilloa
