#include "core/files/LockHolder.h"

#include <QFile>
#include <QStringList>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace quilloa {
namespace {

// The byte the database engine locks first in a file of the classic format (its pending
// byte at 1 GiB); its reserved and shared bytes follow.
constexpr qint64 kLockBytesStart = 0x40000000;
constexpr qint64 kLockBytesEnd = kLockBytesStart + 511;

QString programName(qint64 pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLocal8Bit(comm.readAll()).trimmed();
}

// Another process holding a lock on the file's lock bytes, read from the system's lock table.
// The file itself is never opened: closing a descriptor of a file drops every lock this
// process holds on it, those of the program's own connections included.
qint64 holderPid(const QString& path)
{
    struct stat file
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &file) != 0)
        return 0;
    const QString id = QStringLiteral("%1:%2:%3")
                           .arg(major(file.st_dev), 2, 16, QLatin1Char('0'))
                           .arg(minor(file.st_dev), 2, 16, QLatin1Char('0'))
                           .arg(quint64(file.st_ino));
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return 0;
    // The system's files report a size of nothing, so they are read to their end in one go:
    // asking whether the end is reached would say yes before the first line.
    const QList<QByteArray> lines = locks.readAll().split('\n');
    const qint64 self = ::getpid();
    // "1: POSIX  ADVISORY  WRITE 4242 08:01:131 1073741824 1073741824"
    for (const QByteArray& line : lines) {
        const QStringList fields =
            QString::fromLatin1(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() < 8 || fields.at(5) != id)
            continue;
        const qint64 pid = fields.at(4).toLongLong();
        const qint64 start = fields.at(6).toLongLong();
        const QString end = fields.at(7);
        const bool covers = start <= kLockBytesEnd &&
                            (end == QLatin1String("EOF") || end.toLongLong() >= kLockBytesStart);
        if (covers && pid > 0 && pid != self)
            return pid;
    }
    return 0;
}

} // namespace

QString LockHolder::of(const QString& path)
{
    const qint64 pid = holderPid(path);
    if (pid <= 0)
        return QString();
    const QString name = programName(pid);
    if (name.isEmpty())
        return QStringLiteral("进程号 %1 的程序").arg(pid);
    return QStringLiteral("程序“%1”（进程号 %2）").arg(name).arg(pid);
}

} // namespace quilloa
