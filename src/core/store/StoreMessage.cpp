#include "core/store/StoreMessage.h"

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

QString StoreMessage::limitOf(const QString& detail)
{
    static const QRegularExpression limit(QStringLiteral("length\\(\\[([^\\]]+)\\]\\) <= (\\d+)"));
    const QRegularExpressionMatch match = limit.match(detail);
    if (!match.hasMatch())
        return QString();
    return QStringLiteral("“%1”最多 %2 个字").arg(match.captured(1), match.captured(2));
}

QString StoreMessage::of(const StoreStatus& status)
{
    const QString file = fileName(status);
    switch (status.fault()) {
    case StoreFault::None:
        return QString();
    case StoreFault::Missing:
        return QStringLiteral("找不到数据文件“%1”（%2）。请检查它是否被移走或删除；"
                              "重新启动程序会新建一个空的数据文件。")
            .arg(file, status.path());
    case StoreFault::Busy:
        return QStringLiteral("数据文件“%1”被其他程序占用，请关闭它后重试。").arg(file);
    case StoreFault::ReadOnly:
        return QStringLiteral("数据文件“%1”或它所在的文件夹是只读的，无法写入（%2）。"
                              "请取消只读属性，或让当前用户可以写入该文件夹，然后重试。")
            .arg(file, status.path());
    case StoreFault::DiskFull:
        return QStringLiteral("磁盘已满，无法写入数据文件“%1”。请清理出磁盘空间后重试。").arg(file);
    case StoreFault::TooLong: {
        const QString limit = limitOf(status.detail());
        return limit.isEmpty() ? QStringLiteral("填写的内容太长，请删减后重试。")
                               : limit + QStringLiteral("，请删减后重试。");
    }
    case StoreFault::Damaged:
        return QStringLiteral("数据文件“%1”已损坏，无法使用（%2）。请不要再写入它："
                              "关闭程序后，用“数据库备份”文件夹中按日期存放的备份替换它。")
            .arg(file, status.path());
    case StoreFault::NoRow:
        return QStringLiteral("要修改的记录已不存在，可能已被删除。请重新查询后再试。");
    case StoreFault::Failed:
        break;
    }
    return QStringLiteral("读写数据文件“%1”时出错。请检查磁盘和该文件后重试。").arg(file);
}

} // namespace quilloa
