#include "core/store/StoreMessage.h"

#include "core/files/LockHolder.h"
#include "core/store/SchemaVersion.h"
#include "core/store/StoreLocation.h"
#include "core/store/SystemFault.h"
#include "core/store/UnsettledSave.h"
#include "core/store/server/ConnectionFailure.h"
#include "core/store/server/PasswordFileLocation.h"
#include "core/store/server/ServerDriver.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>

namespace quilloa {
namespace {

// Primary SQLite result codes; the driver reports them, extended or not, as its native code.
enum SqliteCode
{
    kPerm = 3,
    kBusy = 5,
    kLocked = 6,
    kReadOnly = 8,
    kIoError = 10,
    kCorrupt = 11,
    kFull = 13,
    kCantOpen = 14,
    kConstraint = 19,
    kNotADatabase = 26,
};

QString fileName(const StoreStatus& status)
{
    const QString name = QFileInfo(status.path()).fileName();
    return name.isEmpty() ? QStringLiteral("数据文件") : name;
}

} // namespace

StoreFault StoreMessage::faultOf(const QSqlError& error)
{
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    if (!numeric)
        return StoreFault::Failed;
    return faultOfCode(code, error.databaseText());
}

StoreFault StoreMessage::faultOfCode(int extendedCode, const QString& detail)
{
    switch (extendedCode & 0xff) {
    case kBusy:
    case kLocked:
        return StoreFault::Busy;
    case kReadOnly:
    case kPerm:
        return StoreFault::ReadOnly;
    case kFull:
        return StoreFault::DiskFull;
    case kCorrupt:
    case kNotADatabase:
        return StoreFault::Damaged;
    case kConstraint:
        return limitOf(detail).isEmpty() ? StoreFault::Failed : StoreFault::TooLong;
    case kCantOpen:
        return StoreFault::ReadOnly;
    case kIoError:
    default:
        return StoreFault::Failed;
    }
}

StoreFault StoreMessage::faultAt(StoreFault fault, int code, const QString& path)
{
    switch (code & 0xff) {
    case kPerm:
    case kCantOpen:
    case kIoError:
        return StoreLocation::isServerText(path) ? fault : SystemFault::refine(fault, path);
    default:
        return fault;
    }
}

QString StoreMessage::limitOf(const QString& detail)
{
    // The check as an SQLite store states it (older stores quote with brackets), or the name
    // a server's check carries.
    static const QRegularExpression limit(QStringLiteral(
        "length\\([\\[\"]([^\\]\"]+)[\\]\"]\\) <= (\\d+)|\"([^\"_]+)_长度_(\\d+)\""));
    const QRegularExpressionMatch match = limit.match(detail);
    if (!match.hasMatch())
        return QString();
    const bool server = match.captured(1).isEmpty();
    return QStringLiteral("“%1”最多 %2 个字")
        .arg(match.captured(server ? 3 : 1), match.captured(server ? 4 : 2));
}

QString StoreMessage::of(const StoreStatus& status)
{
    if (StoreLocation::isServerText(status.path()))
        return ofServer(status);
    const QString file = fileName(status);
    switch (status.fault()) {
    case StoreFault::None:
        return QString();
    case StoreFault::Missing:
        return QStringLiteral("找不到数据文件“%1”（%2）。请检查它是否被移走或删除；"
                              "重新启动程序会新建一个空的数据文件。")
            .arg(file, status.path());
    case StoreFault::Busy: {
        const QString holder = LockHolder::of(status.path());
        if (holder.isEmpty())
            return QStringLiteral("数据文件“%1”被其他程序占用，请关闭它后重试。").arg(file);
        return QStringLiteral("数据文件“%1”被其他程序占用，请关闭它后重试。占用它的是%2。")
            .arg(file, holder);
    }
    case StoreFault::ReadOnly:
        return QStringLiteral("数据文件“%1”或它所在的文件夹是只读的，无法写入（%2）。"
                              "请取消只读属性，或让当前用户可以写入该文件夹，然后重试。")
            .arg(file, status.path());
    case StoreFault::Unreadable:
        return QStringLiteral("没有读取数据文件“%1”的权限（%2）。请让当前用户可以读写这个文件，"
                              "然后重试。")
            .arg(file, status.path());
    case StoreFault::DiskFull:
        return QStringLiteral("磁盘已满，无法写入数据文件“%1”。请清理出磁盘空间后重试。").arg(file);
    case StoreFault::TooLong: {
        const QString limit = limitOf(status.detail());
        return limit.isEmpty() ? QStringLiteral("填写的内容太长，请删减后重试。")
                               : limit + QStringLiteral("，请删减后重试。");
    }
    case StoreFault::Damaged:
        if (QFileInfo(status.path()).size() == 0)
            return QStringLiteral("数据文件“%1”是空文件（0 字节，%2），里面没有数据，不能使用。"
                                  "程序没有改动它。请用“设置”菜单中的“恢复备份”放回一份按日期存放"
                                  "的备份（在“数据库备份”文件夹中），或关闭程序后用其中一份替换它；"
                                  "确实要从头开始时，删去这个文件后重新启动程序。")
                .arg(file, status.path());
        return QStringLiteral("数据文件“%1”已损坏，无法使用（%2）。为免新写入的内容随损坏的部分"
                              "丢失，程序不再往里写入。请用“设置”菜单中的“恢复备份”放回一份"
                              "按日期存放的备份（在“数据库备份”文件夹中），或关闭程序后用其中"
                              "一份替换它。")
            .arg(file, status.path());
    case StoreFault::NoRow:
        return noRow();
    case StoreFault::TooNew:
        return QStringLiteral("数据文件%1。请安装新版本的程序后再打开。")
            .arg(newerVersion(QStringLiteral("“%1”").arg(file), status));
    case StoreFault::Unreachable:
    case StoreFault::TimedOut:
    case StoreFault::Failed:
        break;
    }
    return QStringLiteral("读写数据文件“%1”时出错。请检查磁盘和该文件后重试。").arg(file);
}

QString StoreMessage::newerVersion(const QString& name, const StoreStatus& status)
{
    return QStringLiteral("%1是较新版本的程序建立的（版本 %2），本程序只认识到版本 %3")
        .arg(name, status.detail())
        .arg(SchemaVersion::kCurrent);
}

QString StoreMessage::folderCause(const StoreStatus& status)
{
    switch (status.fault()) {
    case StoreFault::DiskFull:
        return QStringLiteral("磁盘已满，请清理出磁盘空间后再试。");
    case StoreFault::ReadOnly:
    case StoreFault::Unreadable:
        return QStringLiteral("当前用户没有写入它的权限（或磁盘是只读的），请让当前用户可以写入"
                              "该文件夹后再试。");
    default:
        return QStringLiteral("磁盘读写出错，请检查磁盘后再试。");
    }
}

QString StoreMessage::noRow()
{
    return QStringLiteral("要修改的记录已不存在，可能已被删除。请重新查询后再试。");
}

// A connection that failed for a cause the client library names (a wrong password, a missing
// database …) is told by that cause alone.
QString StoreMessage::connectionCause(const StoreStatus& status)
{
    const ConnectionFailure::Cause cause = ConnectionFailure::classify(status.detail());
    if (cause == ConnectionFailure::Cause::Other)
        return QString();
    const ConnectionFailure::PasswordFile file =
        cause == ConnectionFailure::Cause::NoPassword
            ? ConnectionFailure::passwordFile(PasswordFileLocation::path())
            : ConnectionFailure::PasswordFile::Private;
    return ConnectionFailure::explain(cause, status.path(), file, status.detail());
}

QString StoreMessage::ofServer(const StoreStatus& status)
{
    const QString& server = status.path();
    switch (status.fault()) {
    case StoreFault::None:
        return QString();
    case StoreFault::Unreachable:
        if (const QString cause = connectionCause(status); !cause.isEmpty())
            return cause;
        return QStringLiteral("无法连接%1，或与它的连接已经断开。请检查服务器是否开着、网络是否"
                              "通畅、%2 中的密码是否正确，然后重试；程序会重新连接。")
            .arg(server, PasswordFileLocation::shown());
    case StoreFault::TimedOut:
        if (UnsettledSave::is(status))
            return UnsettledSave::message(status);
        return QStringLiteral(
                   "%1 在 %2 秒内没有回答（服务器停住了、网络不通，或别的程序锁住了要用的"
                   "数据），这次操作没有完成，填写的内容还在。请稍后重试，程序会重新"
                   "连接；一再如此时请让管理员检查服务器和网络。")
            .arg(server)
            .arg(ServerDriver::replyLimit().count() / 1000);
    case StoreFault::Busy:
        // A lock that outlasts the wait may be another room's save as well as a table another
        // program locked: the server does not say whose it is.
        return QStringLiteral("%1 正忙：要用的数据被另一个连接锁住了，请稍后重试；一再如此时请让"
                              "管理员查看是哪个程序占着它。")
            .arg(server);
    case StoreFault::ReadOnly:
    case StoreFault::Unreadable:
        return QStringLiteral("%1 不允许当前用户写入。请让管理员给这个用户写入的权限，然后重试。")
            .arg(server);
    case StoreFault::DiskFull:
        return QStringLiteral("%1 的磁盘已满。请让管理员清理出磁盘空间后重试。").arg(server);
    case StoreFault::TooLong: {
        const QString limit = limitOf(status.detail());
        return limit.isEmpty() ? QStringLiteral("填写的内容太长，请删减后重试。")
                               : limit + QStringLiteral("，请删减后重试。");
    }
    case StoreFault::Missing:
    case StoreFault::Damaged:
        return QStringLiteral("%1 上缺少程序的数据表，或它们不完整。请让管理员检查数据库，"
                              "或连接到程序建好的数据库。")
            .arg(server);
    case StoreFault::NoRow:
        return noRow();
    case StoreFault::TooNew:
        return QStringLiteral("%1。请在这台电脑上安装新版本的程序后再连接。")
            .arg(newerVersion(server + QStringLiteral("上的数据"), status));
    case StoreFault::Failed:
        break;
    }
    return QStringLiteral("读写%1 时出错。请重试；一再出错时请让管理员检查服务器。").arg(server);
}

} // namespace quilloa
