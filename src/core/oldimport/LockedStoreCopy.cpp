#include "core/oldimport/LockedStoreCopy.h"

#include "core/files/PrivateFiles.h"

#include <QByteArray>
#include <QFile>

#include <sqlite3.h>

#include <algorithm>

namespace quilloa {

namespace {

constexpr sqlite3_int64 kBlock = 1 << 20;

StoreStatus copyBytes(sqlite3_file* source, const QString& store, QFile& target)
{
    sqlite3_int64 size = 0;
    if (source->pMethods->xFileSize(source, &size) != SQLITE_OK)
        return StoreStatus::failure(StoreFault::Failed, store);
    QByteArray block;
    for (sqlite3_int64 offset = 0; offset < size; offset += kBlock) {
        const int length = int(std::min(kBlock, size - offset));
        block.resize(length);
        if (source->pMethods->xRead(source, block.data(), length, offset) != SQLITE_OK)
            return StoreStatus::failure(StoreFault::Failed, store);
        if (target.write(block) != length)
            return StoreStatus::failure(StoreFault::DiskFull, target.fileName(),
                                        target.errorString());
    }
    if (!target.flush())
        return StoreStatus::failure(StoreFault::DiskFull, target.fileName(), target.errorString());
    return StoreStatus::success();
}

} // namespace

StoreStatus LockedStoreCopy::save(sqlite3* db, const char* schema, const QString& store,
                                  const QString& target, StoreKind kind)
{
    sqlite3_file* source = nullptr;
    if (sqlite3_file_control(db, schema, SQLITE_FCNTL_FILE_POINTER, &source) != SQLITE_OK ||
        !source || !source->pMethods)
        return StoreStatus::failure(StoreFault::Failed, store);
    const QString written = target + QStringLiteral(".part");
    QFile file(written);
    QFile::remove(written);
    if (!PrivateFiles::createFile(written) ||
        !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return StoreStatus::failure(StoreFault::ReadOnly, target, file.errorString());
    StoreStatus status = copyBytes(source, store, file);
    file.close();
    if (status.ok())
        status = StoreCopy::install(written, target);
    if (!status.ok()) {
        QFile::remove(written);
        return status;
    }
    return StoreCopy::check(target, kind);
}

} // namespace quilloa
