#include "core/oldimport/ImportReport.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace quilloa {

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString settingsValue(const OldData& data, int column)
{
    const JetValue& value = data.settings->at(column);
    return value.null ? QString() : value.text;
}

} // namespace

QString ImportReport::settingsLine(const OldData& data)
{
    if (!data.settings)
        return QStringLiteral("旧程序没有设置记录");
    constexpr int kDoctor = 0;
    constexpr int kClinic = 6;
    return QStringLiteral("诊所“%1”，医生“%2”")
        .arg(settingsValue(data, kClinic), settingsValue(data, kDoctor));
}

QString ImportReport::found(const OldData& data)
{
    QStringList lines;
    if (data.folder.hasArchiveFile()) {
        lines << QStringLiteral("档案（%1）：%2张处方")
                     .arg(shown(data.folder.archiveFile))
                     .arg(data.recordCount);
        if (!data.firstDate.isEmpty())
            lines.last() +=
                QStringLiteral("，就诊日期从 %1 到 %2").arg(data.firstDate, data.lastDate);
        const bool password = data.password && !data.password->trimmed().isEmpty();
        lines << (password ? QStringLiteral("登录密码：已设置")
                           : QStringLiteral("登录密码：没有设置"));
    } else {
        lines << QStringLiteral("没有找到 档案.dat：处方和登录密码不导入。");
    }
    if (data.folder.hasSettingsFile()) {
        lines << QStringLiteral("设置（%1）：药品%2项，诊断%3项，地址%4项")
                     .arg(shown(data.folder.settingsFile))
                     .arg(data.drugs.size())
                     .arg(data.diagnoses.size())
                     .arg(data.addresses.size());
        lines << QStringLiteral("旧的设置：") + settingsLine(data);
    } else {
        lines << QStringLiteral("没有找到 设置.dat：药品、诊断、地址和设置不导入。");
    }
    return lines.join(QLatin1Char('\n'));
}

QString ImportReport::recordsLine(const ImportCounts& counts, bool dryRun)
{
    QString line = QStringLiteral("处方：读到%1张，%2%3张")
                       .arg(counts.recordsRead)
                       .arg(dryRun ? QStringLiteral("会导入") : QStringLiteral("导入"))
                       .arg(counts.recordsAdded);
    if (counts.recordsBesideSameKey > 0)
        line += QStringLiteral("（其中%1张与已有的处方名称相同、内容不同，两份都保留）")
                    .arg(counts.recordsBesideSameKey);
    if (counts.recordsSkipped > 0)
        line += QStringLiteral("；%1张已经有完全相同的一份，没有再导入").arg(counts.recordsSkipped);
    return line + QStringLiteral("。");
}

QString ImportReport::listLine(const char* name, const ImportCounts::List& list, bool dryRun)
{
    const QString verb = dryRun ? QStringLiteral("会") : QString();
    if (list.replaced)
        return QStringLiteral("%1：读到%2项，现在的列表还是新装时的示例，%3换成旧的%4项。")
            .arg(QString::fromUtf8(name))
            .arg(list.read)
            .arg(verb)
            .arg(list.added);
    if (list.added == 0)
        return QStringLiteral("%1：读到%2项，现在的列表已改过，旧的各项都已在其中。")
            .arg(QString::fromUtf8(name))
            .arg(list.read);
    return QStringLiteral("%1：读到%2项，现在的列表已改过，%3添入其中没有的%4项。")
        .arg(QString::fromUtf8(name))
        .arg(list.read)
        .arg(verb)
        .arg(list.added);
}

QString ImportReport::settingsDone(ImportCounts::Settings settings, bool dryRun)
{
    switch (settings) {
    case ImportCounts::Settings::None:
        return QString();
    case ImportCounts::Settings::Same:
        return QStringLiteral("设置：旧的设置记录与现在的相同。");
    case ImportCounts::Settings::Taken:
        return dryRun ? QStringLiteral("设置：会采用旧的设置记录。")
                      : QStringLiteral("设置：采用了旧的设置记录。");
    case ImportCounts::Settings::Kept:
        return QStringLiteral("设置：现在的设置已改过，保留现在的设置记录（在“设置”菜单的"
                              "“导入旧数据…”中导入时可以选择改用旧的）。");
    }
    return QString();
}

QString ImportReport::passwordDone(ImportCounts::Password password, bool dryRun)
{
    switch (password) {
    case ImportCounts::Password::None:
        return QString();
    case ImportCounts::Password::Blank:
        return QStringLiteral("登录密码：旧程序没有设登录密码。");
    case ImportCounts::Password::Taken:
        return dryRun ? QStringLiteral("登录密码：会采用旧程序的登录密码。")
                      : QStringLiteral("登录密码：采用了旧程序的登录密码，登录时照旧输入它。");
    case ImportCounts::Password::KeptCurrent:
        return QStringLiteral("登录密码：这里已设有登录密码，保留现在的。");
    }
    return QString();
}

QString ImportReport::done(const OldData& data, const ImportCounts& counts, bool dryRun,
                           const QString& savedFolder)
{
    QStringList lines;
    if (dryRun)
        lines << QStringLiteral("试运行：什么也没有写入。真正导入时会这样做：");
    if (data.folder.hasArchiveFile())
        lines << recordsLine(counts, dryRun);
    if (data.folder.hasSettingsFile()) {
        lines << listLine("药品", counts.lists[0], dryRun)
              << listLine("诊断", counts.lists[1], dryRun)
              << listLine("地址", counts.lists[2], dryRun);
    }
    for (const QString& line :
         {settingsDone(counts.settings, dryRun), passwordDone(counts.password, dryRun)}) {
        if (!line.isEmpty())
            lines << line;
    }
    if (!data.folder.hasArchiveFile())
        lines << QStringLiteral("没有找到 档案.dat：处方和登录密码没有导入。");
    if (!data.folder.hasSettingsFile())
        lines << QStringLiteral("没有找到 设置.dat：药品、诊断、地址和设置没有导入。");
    if (!savedFolder.isEmpty())
        lines << QStringLiteral("导入前的数据保存在“%1”。").arg(shown(savedFolder));
    return lines.join(QLatin1Char('\n'));
}

} // namespace quilloa
