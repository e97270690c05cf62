#include "core/store/server/ConnectionFailure.h"

#include "core/store/server/PasswordFileLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <array>

namespace quilloa {
namespace {

struct Sign
{
    ConnectionFailure::Cause cause;
    const char* pattern; // a regular expression over the client library's text
};

// The client library's texts and the server's, in English and as translated to Chinese. The
// order matters: "no password supplied" comes with a host's name, a wrong password with the
// user's.
const std::array<Sign, 11> kSigns{{
    {ConnectionFailure::Cause::NoPassword, "no password supplied"},
    {ConnectionFailure::Cause::WrongPassword,
     "password authentication failed|Password 认证失败|口令认证失败"},
    {ConnectionFailure::Cause::NoDatabase,
     "database \"[^\"]*\" does not exist|数据库 ?\"[^\"]*\" ?不存在"},
    {ConnectionFailure::Cause::NoRole, "role \"[^\"]*\" does not exist|角色 ?\"[^\"]*\" ?不存在"},
    {ConnectionFailure::Cause::NotAllowed, "no pg_hba\\.conf entry|pg_hba\\.conf 记录"},
    {ConnectionFailure::Cause::LoginRefused, "is not permitted to log in|不允许角色"},
    {ConnectionFailure::Cause::TooManyClients,
     "too many clients|太多的客户|remaining connection slots are reserved"},
    {ConnectionFailure::Cause::ServerStarting,
     "database system is (starting up|shutting down|in recovery mode|not yet accepting)|"
     "数据库系统(启动|停止)中"},
    {ConnectionFailure::Cause::HostUnknown, "could not translate host name|无法解释主机名"},
    {ConnectionFailure::Cause::NoAnswer,
     "timeout expired|超时满|timed out|连接超时|No route to host|没有到主机的路由|"
     "Network is unreachable|网络不可达"},
    {ConnectionFailure::Cause::Refused,
     "Connection refused|拒绝连接|socket \"[^\"]*\" failed: No such file|"
     "套接字\"[^\"]*\"上的服务器失败: ?没有那个文件"},
}};

// The first name in double quotes after the matched words (a database's or role's name).
QString quotedName(const QString& text, const char* before)
{
    static const QRegularExpression quoted(QStringLiteral("\"([^\"]*)\""));
    const QRegularExpressionMatch at = QRegularExpression(QString::fromUtf8(before)).match(text);
    const QRegularExpressionMatch name = quoted.match(text, at.hasMatch() ? at.capturedStart() : 0);
    return name.hasMatch() ? name.captured(1) : QString();
}

QString noPassword(const QString& server, ConnectionFailure::PasswordFile file)
{
    const QString path = QDir::toNativeSeparators(PasswordFileLocation::path());
    switch (file) {
    case ConnectionFailure::PasswordFile::ReadableByOthers:
        return QStringLiteral("密码文件 %2 别的用户也能读取，连接时因此不用它，%1 要的密码就无从"
                              "交出。请运行 chmod 600 %2，然后重试。")
            .arg(server, path);
    case ConnectionFailure::PasswordFile::Missing:
        return QStringLiteral("%1 要求密码，但本用户没有密码文件 %2。请把“主机:端口:数据库:用户:"
                              "密码”写成一行放进 %2，运行 chmod 600 %2，然后重试。")
            .arg(server, path);
    case ConnectionFailure::PasswordFile::Private:
        break;
    }
    return QStringLiteral("%1 要求密码，但 %2 中没有与这台服务器、数据库和用户相符的一行。请按"
                          "“主机:端口:数据库:用户:密码”的格式补上一行（主机、端口、数据库和用户"
                          "要与连接写法中的一致），然后重试。")
        .arg(server, path);
}

} // namespace

ConnectionFailure::Cause ConnectionFailure::classify(const QString& clientText)
{
    for (const Sign& sign : kSigns) {
        const QRegularExpression pattern(QString::fromUtf8(sign.pattern),
                                         QRegularExpression::CaseInsensitiveOption);
        if (pattern.match(clientText).hasMatch())
            return sign.cause;
    }
    return Cause::Other;
}

QString ConnectionFailure::explain(Cause cause, const QString& server, PasswordFile file,
                                   const QString& clientText)
{
    switch (cause) {
    case Cause::Other:
        return QString();
    case Cause::NoPassword:
        return noPassword(server, file);
    case Cause::WrongPassword:
        // Under scram the server answers a user it does not have as a wrong password, so as
        // not to tell which users exist.
        return QStringLiteral("%1 不接受所给的用户名和密码（用户名或密码不对）。请检查连接写法中"
                              "的用户名，以及 %2 中这台服务器那一行的密码（格式：主机:端口:数据库:"
                              "用户:密码），然后重试。")
            .arg(server, QDir::toNativeSeparators(PasswordFileLocation::path()));
    case Cause::HostUnknown:
        return QStringLiteral("找不到%1（主机名无法解析）。请检查连接写法中的主机名，或改写成服务器"
                              "的 IP 地址，并检查本机的网络设置，然后重试。")
            .arg(server);
    case Cause::Refused:
        return QStringLiteral("%1 拒绝连接：那里没有运行数据库服务，或它不在这个端口上接受连接。请"
                              "确认服务器上的 PostgreSQL 已启动、postgresql.conf 中的 "
                              "listen_addresses 允许其他电脑连接、端口写得正确，然后重试。")
            .arg(server);
    case Cause::NoAnswer:
        return QStringLiteral("%1 没有应答（连接超时）。请检查服务器是否开着、网络是否连通、防火墙"
                              "是否放行数据库端口（通常是 5432），然后重试。")
            .arg(server);
    case Cause::NoDatabase:
        return QStringLiteral("%1 上没有名为“%2”的数据库。请检查连接写法中的数据库名，或让管理员"
                              "建好它（createdb -E UTF8 -T template0 数据库名），然后重试。")
            .arg(server, quotedName(clientText, "database|数据库"));
    case Cause::NoRole:
        return QStringLiteral("%1 上没有名为“%2”的用户。请检查连接写法中的用户名，或让管理员建好"
                              "这个用户，然后重试。")
            .arg(server, quotedName(clientText, "role|角色"));
    case Cause::NotAllowed:
        return QStringLiteral("%1 的访问规则（pg_hba.conf）不让这台电脑以这个用户连接这个数据库。请"
                              "让管理员在 pg_hba.conf 中为这台电脑所在的网段加上一行并重新载入"
                              "服务器，然后重试。")
            .arg(server);
    case Cause::LoginRefused:
        return QStringLiteral("%1 上的用户“%2”不允许登录。请让管理员给它登录的权限，然后重试。")
            .arg(server, quotedName(clientText, "role|角色"));
    case Cause::TooManyClients:
        return QStringLiteral("%1 的连接已满。请关掉其他不用的连接，或让管理员调大 "
                              "max_connections，然后重试。")
            .arg(server);
    case Cause::ServerStarting:
        return QStringLiteral("%1 正在启动或关闭，暂时不接受连接。请稍等片刻后重试。").arg(server);
    }
    return QString();
}

ConnectionFailure::PasswordFile ConnectionFailure::passwordFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return PasswordFile::Missing;
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                            QFileDevice::WriteOther | QFileDevice::ExeOther;
    return info.permissions() & others ? PasswordFile::ReadableByOthers : PasswordFile::Private;
}

} // namespace quilloa
