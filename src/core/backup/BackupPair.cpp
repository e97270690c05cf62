#include "core/backup/BackupPair.h"

#include "core/store/SystemFault.h"
#include "core/store/file/StoreCopy.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QUuid>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace quilloa {
namespace {

// The database header: it holds the count of the file's changes, which every write of the
// engine moves on, and the page count. With the size it tells one state of a store from another
// without reading the whole file.
constexpr qint64 kHeaderBytes = 100;

struct Part
{
    QString store;
    QString name;
    StoreKind kind;
};

QList<Part> partsOf(const StorePaths& paths)
{
    return {{paths.archiveFile, QFileInfo(paths.archiveFile).fileName(), StoreKind::Archive},
            {paths.settingsFile, QFileInfo(paths.settingsFile).fileName(), StoreKind::Settings}};
}

QString fingerprint(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray header = file.read(kHeaderBytes);
    return QString::number(file.size()) + QLatin1Char(':') +
           QString::fromLatin1(
               QCryptographicHash::hash(header, QCryptographicHash::Sha256).toHex());
}

// The note's lines: a file's name, a tab and its fingerprint when the pair was made.
QHash<QString, QString> readNote(const QString& folder, bool* present)
{
    QHash<QString, QString> noted;
    QFile note(folder + QLatin1Char('/') + BackupPair::noteName());
    *present = note.exists();
    if (!note.open(QIODevice::ReadOnly))
        return noted;
    for (const QString& line : QString::fromUtf8(note.readAll()).split(QLatin1Char('\n'))) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab > 0)
            noted.insert(line.left(tab), line.mid(tab + 1));
    }
    return noted;
}

StoreStatus systemFailure(int error, const QString& path)
{
    return StoreStatus::failure(SystemFault::ofErrno(error, StoreFault::Failed), path,
                                QString::fromLocal8Bit(std::strerror(error)));
}

StoreStatus flushFolder(const QString& folder)
{
    const int directory =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
#ifdef Q_OS_WIN
    // A folder cannot be opened as a file there; the system writes its entries itself.
    if (directory < 0)
        return StoreStatus::success();
#endif
    if (directory < 0)
        return systemFailure(errno, folder);
    const int flushed = ::fsync(directory);
    const int error = errno;
    ::close(directory);
    return flushed == 0 ? StoreStatus::success() : systemFailure(error, folder);
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString keptText(const QString& folder, const QList<Part>& parts)
{
    for (const Part& part : parts) {
        if (!QFileInfo::exists(folder + QLatin1Char('/') + part.name))
            return QStringLiteral("这一天还没有完整的备份。");
    }
    return QStringLiteral("文件夹“%1”中已有的备份保持不变。").arg(shown(folder));
}

void removeAll(const QStringList& files)
{
    for (const QString& file : files)
        StoreCopy::removeTemporary(file);
}

} // namespace

BackupPair::Written BackupPair::write(const StorePaths& paths, const QString& folder)
{
    const QList<Part> parts = partsOf(paths);
    const QString id = QUuid::createUuid().toString(QUuid::Id128).left(8);
    QStringList made;
    for (const Part& part : parts) {
        const QString temporary =
            folder + QLatin1Char('/') + part.name + QLatin1Char('.') + id + QStringLiteral(".part");
        StoreStatus copied = StoreCopy::copyChecked(part.store, temporary, part.kind);
        // The user knows the copy by its own name.
        if (!copied.ok() && copied.path() == temporary)
            copied = StoreStatus::failure(copied.fault(), folder + QLatin1Char('/') + part.name,
                                          copied.detail());
        if (!copied.ok()) {
            removeAll(made);
            return {copied, keptText(folder, parts)};
        }
        made << temporary;
    }
    // Both are sound. The note of the pair before stays until both are in place, so a pair cut
    // off between its two files is told by the files disagreeing with it; a pair of an older
    // program is noted first for that.
    if (!QFileInfo::exists(folder + QLatin1Char('/') + noteName()))
        (void)note(folder);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString target = folder + QLatin1Char('/') + parts.at(i).name;
        if (std::rename(QFile::encodeName(made.at(i)).constData(),
                        QFile::encodeName(target).constData()) == 0)
            continue;
        const StoreStatus failed = systemFailure(errno, target);
        removeAll(made.mid(i));
        if (i == 0)
            return {failed, keptText(folder, parts)};
        return {failed, QStringLiteral("%1 已换成新的，%2 没能换上；文件夹“%3”中的两个文件不是同一"
                                       "次备份的，恢复备份时不会用它们。请排除问题后再备份一次。")
                            .arg(parts.at(0).name, parts.at(1).name, shown(folder))};
    }
    // Without its note the pair counts as whole, as a folder of an older program does; a note of
    // the pair before would call it mixed.
    if (!note(folder))
        QFile::remove(folder + QLatin1Char('/') + noteName());
    const StoreStatus flushed = flushFolder(folder);
    if (!flushed.ok())
        return {flushed, QStringLiteral("新的一对备份已放进文件夹“%1”，但没能确认它已写到磁盘上，"
                                        "电脑断电时它可能不完整。请检查磁盘后再备份一次。")
                             .arg(shown(folder))};
    return {};
}

bool BackupPair::note(const QString& folder)
{
    QByteArray text;
    for (const QString& name : {QStringLiteral("档案.dat"), QStringLiteral("设置.dat")}) {
        const QString print = fingerprint(folder + QLatin1Char('/') + name);
        if (print.isEmpty())
            return false;
        text += (name + QLatin1Char('\t') + print + QLatin1Char('\n')).toUtf8();
    }
    return StoreCopy::writeFile(folder + QLatin1Char('/') + noteName(), text).ok();
}

bool BackupPair::madeTogether(const QString& folder)
{
    bool present = false;
    const QHash<QString, QString> noted = readNote(folder, &present);
    if (!present)
        return true;
    for (const QString& name : {QStringLiteral("档案.dat"), QStringLiteral("设置.dat")}) {
        if (noted.value(name).isEmpty() ||
            noted.value(name) != fingerprint(folder + QLatin1Char('/') + name))
            return false;
    }
    return true;
}

bool BackupPair::current(const StorePaths& paths, const QString& folder)
{
    bool present = false;
    const QHash<QString, QString> noted = readNote(folder, &present);
    if (!present)
        return false;
    for (const Part& part : partsOf(paths)) {
        const QString print = fingerprint(part.store);
        if (print.isEmpty() || noted.value(part.name) != print ||
            fingerprint(folder + QLatin1Char('/') + part.name) != print)
            return false;
    }
    return true;
}

} // namespace quilloa
