#include "backup/CheckedStoreCopy.h"

#include "backup/ReadOnlyStore.h"
#include "exchange/SiblingTempFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

namespace quilloa {

StoreStatus CheckedStoreCopy::check(const QString& path)
{
    ReadOnlyStore store(path);
    if (!store.isOpen())
        return StoreStatus::failure(store.error());
    QSqlQuery query(store.database());
    if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next())
        return StoreStatus::failure(QStringLiteral("无法检查数据文件“%1”。").arg(path));
    if (query.value(0).toString() != QLatin1String("ok"))
        return StoreStatus::failure(QStringLiteral("数据文件“%1”已损坏。").arg(path));
    return StoreStatus::success();
}

// VACUUM INTO writes a consistent copy from one read of the source, whatever
// else holds it open; the copy is checked under its temporary name before the
// rename.
StoreStatus CheckedStoreCopy::copy(const QString& source, const QString& target)
{
    if (!QFileInfo::exists(source))
        return StoreStatus::failure(QStringLiteral("找不到数据文件“%1”。").arg(source));
    SiblingTempFile temp(target);
    if (!temp.isValid())
        return StoreStatus::failure(QStringLiteral("无法在“%1”旁写入文件。").arg(target));
    QFile::remove(temp.tempPath()); // VACUUM INTO refuses an existing file
    {
        ReadOnlyStore store(source);
        if (!store.isOpen())
            return StoreStatus::failure(store.error());
        QSqlQuery vacuum(store.database());
        if (!vacuum.prepare(QStringLiteral("VACUUM INTO ?")))
            return StoreStatus::failure(QStringLiteral("无法复制数据文件“%1”。").arg(source));
        vacuum.addBindValue(temp.tempPath());
        if (!vacuum.exec())
            return StoreStatus::failure(QStringLiteral("无法复制数据文件“%1”。").arg(source));
    }
    const StoreStatus checked = check(temp.tempPath());
    if (!checked.ok())
        return checked;
    if (!temp.commit())
        return StoreStatus::failure(QStringLiteral("无法替换“%1”。").arg(target));
    return StoreStatus::success();
}

} // namespace quilloa
