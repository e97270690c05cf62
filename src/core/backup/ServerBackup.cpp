#include "core/backup/ServerBackup.h"

namespace quilloa {

bool ServerBackup::take(const StoreFile& server, const StorePaths& paths, const QDate& date,
                        QStringList* notices)
{
    Q_UNUSED(paths);
    // Exporting copies from a server is not there yet: say so rather than pass the day quietly.
    if (notices)
        *notices << QStringLiteral("今天（%1）没有备份%2上的数据：程序还不能从数据库服务器导出"
                                   "备份。请让管理员用服务器自己的备份工具备份这个数据库。")
                        .arg(date.toString(QStringLiteral("yyyy-MM-dd")), server.path());
    return false;
}

} // namespace quilloa
