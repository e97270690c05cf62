#include "core/startup/CommandLine.h"

#include "core/store/server/PasswordFileLocation.h"
#include "core/text/SecretMask.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace quilloa {

namespace {

QCommandLineOption hiddenOption(const QString& name)
{
    QCommandLineOption option(name);
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

// The window system's own options, which QApplication takes out before the program reads its
// arguments. The check made before QApplication exists passes them over the same way, so they
// never count as unknown, and --help-all lists them.
struct ToolkitOption
{
    QStringView name;
    QStringView valueName; // empty for a switch
    QStringView meaning;
};

constexpr ToolkitOption kToolkitOptions[] = {
    {u"platform", u"名称[:设置]", u"窗口系统的插件，例如 xcb、wayland 或 offscreen"},
    {u"platformpluginpath", u"文件夹", u"窗口系统插件所在的文件夹"},
    {u"platformtheme", u"名称", u"桌面主题插件"},
    {u"plugin", u"插件", u"另外加载的输入设备插件"},
    {u"qwindowgeometry", u"几何", u"第一个窗口的大小和位置，例如 800x600+0+0"},
    {u"qwindowicon", u"图标", u"窗口的图标"},
    {u"qwindowtitle", u"标题", u"第一个窗口的标题"},
    {u"session", u"会话", u"恢复桌面会话"},
    {u"display", u"显示", u"X11 的显示，例如 :0"},
    {u"geometry", u"几何", u"同 -qwindowgeometry"},
    {u"style", u"样式", u"界面样式，例如 Fusion"},
    {u"stylesheet", u"文件", u"界面的样式表文件"},
    {u"reverse", u"", u"界面从右向左排列"},
    {u"widgetcount", u"", u"结束时报告还有多少窗口部件"},
    {u"qmljsdebugger", u"", u"QML 调试（写成 -qmljsdebugger=port:端口）"},
    {u"nograb", u"", u"不独占鼠标和键盘"},
    {u"dograb", u"", u"独占鼠标和键盘"},
};

const ToolkitOption* toolkitOption(const QString& name)
{
    for (const ToolkitOption& option : kToolkitOptions) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

QStringList withoutToolkitOptions(const QStringList& arguments)
{
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool single = argument.startsWith(QLatin1Char('-')) && !argument.startsWith(u"--");
        const ToolkitOption* option =
            i > 0 && single ? toolkitOption(argument.mid(1).section(QLatin1Char('='), 0, 0))
                            : nullptr;
        if (!option) {
            kept << argument;
            continue;
        }
        if (!option->valueName.isEmpty() && !argument.contains(QLatin1Char('=')))
            ++i;
    }
    return kept;
}

QString toolkitOptionsText()
{
    QStringList left;
    qsizetype width = 0;
    for (const ToolkitOption& option : kToolkitOptions) {
        QString shown = QLatin1Char('-') + option.name.toString();
        if (!option.valueName.isEmpty())
            shown += QStringLiteral(" <%1>").arg(option.valueName);
        width = std::max(width, shown.size());
        left << shown;
    }
    QString text = QStringLiteral("\nQt 选项（窗口系统）：\n");
    for (qsizetype i = 0; i < left.size(); ++i)
        text += QStringLiteral("  ") + left[i].leftJustified(width + 2) +
                kToolkitOptions[i].meaning.toString() + QLatin1Char('\n');
    return text;
}

} // namespace

CommandLine::CommandLine()
    : m_help(m_parser.addHelpOption()), m_version(m_parser.addVersionOption()),
      m_data(QStringLiteral("data"),
             QStringLiteral("把数据库和数据库备份放在文件夹 DIR 中（例如另一块磁盘上），"
                            "不用默认的数据文件夹。"),
             QStringLiteral("DIR")),
      m_store(QStringLiteral("store"),
              QStringLiteral("把数据存放在 PostgreSQL 数据库服务器上，几台电脑共用一份档案。"
                             "SERVER 写成 postgresql://主机/数据库名 或 service=服务名；"
                             "密码写在 %1 中，不写在这里。也可以把这一行写进数据文件夹"
                             "中的 store.conf。")
                  .arg(PasswordFileLocation::shown()),
              QStringLiteral("SERVER")),
      m_copyStoresTo(
          QStringLiteral("copy-stores-to"),
          QStringLiteral("把数据文件夹中的档案和设置复制到数据库服务器上一个新建的空"
                         "数据库（写法同 --store），核对每个表的条数后结束，不打开窗口。"),
          QStringLiteral("SERVER")),
      m_prepareServer(
          QStringLiteral("prepare-server"),
          QStringLiteral("由数据库的所有者运行一次：在服务器的数据库中建好数据表，并只给 "
                         "--workstation-role 所写的用户程序所需的权限（写法同 --store），"
                         "不打开窗口。"),
          QStringLiteral("SERVER")),
      m_workstationRole(QStringLiteral("workstation-role"),
                        QStringLiteral("各台电脑连接服务器所用的用户（最好是一个不能登录的组，"
                                       "每台电脑一个属于它的用户）。"),
                        QStringLiteral("ROLE")),
      m_importOldData(
          QStringLiteral("import-old-data"),
          QStringLiteral("把旧程序的数据（FOLDER 是旧程序的文件夹、其中的“数据库”文件夹，"
                         "或放有 档案.dat 和 设置.dat 的文件夹）导入正在使用的数据文件夹，"
                         "印出导入了什么后结束，不打开窗口。旧文件只读不写。"),
          QStringLiteral("FOLDER")),
      m_dryRun(
          QStringLiteral("dry-run"),
          QStringLiteral("与 --import-old-data 同用：读完旧数据，印出会导入什么，什么也不写。")),
      m_quitAfterStart(hiddenOption(QStringLiteral("quit-after-start")))
{
    m_parser.setApplicationDescription(
        QStringLiteral("门诊处方管理：书写、保存、查找和打印处方。"));
    m_parser.addOption(m_data);
    m_parser.addOption(m_store);
    m_parser.addOption(m_copyStoresTo);
    m_parser.addOption(m_prepareServer);
    m_parser.addOption(m_workstationRole);
    m_parser.addOption(m_importOldData);
    m_parser.addOption(m_dryRun);
    m_parser.addOption(m_quitAfterStart);
}

bool CommandLine::parse(const QStringList& arguments)
{
    m_error.clear();
    if (!m_parser.parse(withoutToolkitOptions(arguments)))
        m_error = m_parser.errorText();
    else if (m_parser.isSet(m_data) && dataFolder().trimmed().isEmpty())
        // An empty --data would quietly fall back to the default folder.
        m_error = QStringLiteral("--data 后面要写数据文件夹的路径。");
    else if (m_parser.isSet(m_store) && store().trimmed().isEmpty())
        // An empty --store would quietly fall back to the files of this computer.
        m_error = QStringLiteral("--store 后面要写数据库服务器，例如 postgresql://主机/数据库名。");
    else if (m_parser.isSet(m_copyStoresTo) && copyStoresTo().trimmed().isEmpty())
        m_error = QStringLiteral(
            "--copy-stores-to 后面要写数据库服务器，例如 postgresql://主机/数据库名。");
    else if (m_parser.isSet(m_prepareServer) &&
             (prepareServer().trimmed().isEmpty() || workstationRole().trimmed().isEmpty()))
        m_error = QStringLiteral("--prepare-server 后面要写数据库服务器，并用 --workstation-role "
                                 "写明各台电脑连接所用的用户。");
    else if (m_parser.isSet(m_importOldData) && importOldData().trimmed().isEmpty())
        m_error = QStringLiteral("--import-old-data 后面要写旧程序的文件夹。");
    else if (m_parser.isSet(m_dryRun) && !m_parser.isSet(m_importOldData))
        m_error = QStringLiteral("--dry-run 只能与 --import-old-data 同用。");
    else if (!m_parser.positionalArguments().isEmpty())
        m_error = QStringLiteral("无法识别的参数：%1")
                      .arg(m_parser.positionalArguments().join(QLatin1Char(' ')));
    // The error may quote what was typed, and that may hold a password.
    m_error = SecretMask::mask(m_error);
    return m_error.isEmpty();
}

// --help-all adds the window system's options to what --help lists.
bool CommandLine::helpRequested() const
{
    return m_parser.isSet(m_help) || m_parser.isSet(QStringLiteral("help-all"));
}

bool CommandLine::versionRequested() const
{
    return m_parser.isSet(m_version);
}

QString CommandLine::helpText(const QString& dataFolderLine) const
{
    QString text = m_parser.helpText();
    if (m_parser.isSet(QStringLiteral("help-all")))
        text += toolkitOptionsText();
    return text + QLatin1Char('\n') + dataFolderLine + QLatin1Char('\n');
}

QString CommandLine::versionText()
{
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    return name + QLatin1Char(' ') + QCoreApplication::applicationVersion() + QLatin1Char('\n');
}

bool CommandLine::asksToCopyStores(const QStringList& arguments)
{
    CommandLine line;
    return line.parse(arguments) && !line.copyStoresTo().isEmpty();
}

bool CommandLine::asksToPrepareServer(const QStringList& arguments)
{
    CommandLine line;
    return line.parse(arguments) && !line.prepareServer().isEmpty();
}

bool CommandLine::asksToImportOldData(const QStringList& arguments)
{
    CommandLine line;
    return line.parse(arguments) && !line.importOldData().isEmpty();
}

bool CommandLine::asksForTextOnly(const QStringList& arguments)
{
    CommandLine line;
    return !line.parse(arguments) || line.helpRequested() || line.versionRequested();
}

} // namespace quilloa
