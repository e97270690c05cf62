#include "core/store/StoreLocation.h"

#include "core/store/server/PasswordFileLocation.h"
#include "core/text/SecretMask.h"

#include <QFile>
#include <QHash>
#include <QStringList>

#include <libpq-fe.h>

#include <memory>

namespace quilloa {
namespace {

const QString kServerPrefix = QStringLiteral("数据库服务器");

struct OptionsFree
{
    void operator()(PQconninfoOption* options) const { PQconninfoFree(options); }
};

// As libpq reads a quoted value: backslash and quote escaped.
QString quoted(const QString& value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

QString describe(const QHash<QString, QString>& given)
{
    if (given.contains(QStringLiteral("service")))
        return kServerPrefix +
               QStringLiteral("（服务 %1）").arg(given.value(QStringLiteral("service")));
    QString host = given.value(QStringLiteral("host"), given.value(QStringLiteral("hostaddr")));
    if (host.isEmpty() || host.startsWith(QLatin1Char('/')))
        host = QStringLiteral("本机");
    if (given.contains(QStringLiteral("port")))
        host += QLatin1Char(':') + given.value(QStringLiteral("port"));
    const QString database = given.value(QStringLiteral("dbname"));
    return kServerPrefix + QLatin1Char(' ') + host +
           (database.isEmpty() ? QString() : QLatin1Char('/') + database);
}

} // namespace

StoreResult<StoreLocation> StoreLocation::server(const QString& connectionText)
{
    const QString text = connectionText.trimmed();
    if (text.isEmpty())
        return StoreStatus::failure(
            QStringLiteral("没有写明数据库服务器。请写成 "
                           "postgresql://主机/数据库名 或 service=服务名。"));
    char* error = nullptr;
    const std::unique_ptr<PQconninfoOption, OptionsFree> parsed(
        PQconninfoParse(text.toUtf8().constData(), &error));
    if (error)
        PQfreemem(error);
    if (!parsed)
        return StoreStatus::failure(
            QStringLiteral("看不懂数据库服务器的写法“%1”。请写成 postgresql://主机/数据库名、"
                           "host=主机 dbname=数据库名 或 service=服务名。")
                .arg(SecretMask::mask(text)));
    QHash<QString, QString> given;
    QStringList words;
    for (const PQconninfoOption* option = parsed.get(); option->keyword; ++option) {
        if (!option->val)
            continue;
        const QString keyword = QString::fromUtf8(option->keyword);
        const QString value = QString::fromUtf8(option->val);
        if (keyword == QLatin1String("password"))
            return StoreStatus::failure(
                QStringLiteral("数据库服务器的写法里含有密码，程序不保存密码。请去掉写法中的密码，"
                               "把它写进本用户的 %1 文件（或连接服务文件）中，然后重试。")
                    .arg(PasswordFileLocation::shown()));
        // Kept out of the words: Qt separates connect options with ";", and Qt's own PostgreSQL
        // driver (the one the tests' helper connections use) turns it into a space.
        if (value.contains(QLatin1Char(';')))
            return StoreStatus::failure(
                QStringLiteral("数据库服务器写法中的“%1”含有分号，无法使用。请改用不含分号的名称，"
                               "或写成 service=服务名。")
                    .arg(keyword));
        given.insert(keyword, value);
        words << keyword + QLatin1Char('=') + quoted(value);
    }
    // The server's list of sessions names the program, and an unreachable host is told
    // within seconds instead of leaving the window frozen.
    if (!given.contains(QStringLiteral("application_name")))
        words << QStringLiteral("application_name='quilloa'");
    if (!given.contains(QStringLiteral("connect_timeout")))
        words << QStringLiteral("connect_timeout='10'");
    // A server that vanished from the network mid-statement is told within seconds too, instead
    // of after the system's long retransmission wait (no effect on a local socket).
    if (!given.contains(QStringLiteral("tcp_user_timeout")))
        words << QStringLiteral("tcp_user_timeout='15000'");
    StoreLocation location;
    location.m_options = words.join(QLatin1Char(' '));
    location.m_description = describe(given);
    return location;
}

QString StoreLocation::settingsFileIn(const QString& dataFolder)
{
    return dataFolder + QStringLiteral("/store.conf");
}

StoreResult<StoreLocation> StoreLocation::choose(const QString& commandLineText,
                                                 const QString& settingsFile)
{
    if (!commandLineText.trimmed().isEmpty())
        return server(commandLineText);
    QFile file(settingsFile);
    if (!file.exists())
        return StoreLocation();
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return StoreStatus::failure(
            QStringLiteral("无法读取数据存放设置文件“%1”。请检查它是否可读，然后重新启动程序。")
                .arg(settingsFile));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        StoreResult<StoreLocation> chosen = server(line);
        if (!chosen.ok())
            return StoreStatus::failure(
                QStringLiteral("数据存放设置文件“%1”：%2").arg(settingsFile, chosen.error()));
        return chosen;
    }
    return StoreLocation();
}

bool StoreLocation::isServerText(const QString& path)
{
    return path.startsWith(kServerPrefix);
}

} // namespace quilloa
