#include "core/store/file/StoreDamage.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <sys/stat.h>

namespace quilloa {
namespace {

// Which file was found damaged, and as it stood then.
struct Identity
{
    qint64 device = 0;
    qint64 inode = 0;
    qint64 size = 0;
    qint64 modified = 0;

    bool operator==(const Identity& other) const
    {
        return device == other.device && inode == other.inode && size == other.size &&
               modified == other.modified;
    }
};

bool identify(const QString& path, Identity& identity)
{
    struct stat file
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &file) != 0)
        return false;
    identity.device = qint64(file.st_dev);
    identity.inode = qint64(file.st_ino);
    identity.size = qint64(file.st_size);
#ifdef Q_OS_WIN
    identity.modified = qint64(file.st_mtime);
#else
    identity.modified = qint64(file.st_mtim.tv_sec) * 1000000000 + file.st_mtim.tv_nsec;
#endif
    return true;
}

// A backup day's copy runs on a thread of its own and may meet the damage too.
QMutex& guard()
{
    static QMutex mutex;
    return mutex;
}

QHash<QString, Identity>& damaged()
{
    static QHash<QString, Identity> files;
    return files;
}

QString keyOf(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

void StoreDamage::note(const QString& path)
{
    Identity identity;
    if (!identify(path, identity))
        return;
    const QMutexLocker lock(&guard());
    damaged().insert(keyOf(path), identity);
}

bool StoreDamage::known(const QString& path)
{
    const QString key = keyOf(path);
    {
        const QMutexLocker lock(&guard());
        if (damaged().isEmpty() || !damaged().contains(key))
            return false;
    }
    Identity now;
    const bool there = identify(path, now);
    const QMutexLocker lock(&guard());
    const auto found = damaged().constFind(key);
    if (found == damaged().cend())
        return false;
    if (there && *found == now)
        return true;
    damaged().remove(key);
    return false;
}

void StoreDamage::forget(const QString& path)
{
    const QMutexLocker lock(&guard());
    damaged().remove(keyOf(path));
}

} // namespace quilloa
