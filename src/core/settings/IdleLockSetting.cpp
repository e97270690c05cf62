#include "core/settings/IdleLockSetting.h"

#include "core/exchange/FileWriteStatus.h"

#include <QFile>

#include <algorithm>

namespace quilloa {

IdleLockSetting::IdleLockSetting(const QString& dataFolder)
    : m_path(dataFolder.isEmpty() ? QString() : dataFolder + QStringLiteral("/idle-lock.conf"))
{
}

int IdleLockSetting::minutes() const
{
    QFile file(m_path);
    if (!isAvailable() || !file.open(QIODevice::ReadOnly))
        return 0;
    bool number = false;
    const int read = QString::fromLatin1(file.read(16)).trimmed().toInt(&number);
    return number ? std::clamp(read, 0, kLongest) : 0;
}

StoreStatus IdleLockSetting::setMinutes(int minutes) const
{
    const QString failed = QStringLiteral("锁定时间没有保存：无法写入“%1”。请确认数据文件夹可以写入"
                                          "后再试。")
                               .arg(m_path);
    if (!isAvailable())
        return StoreStatus::failure(failed);
    const QByteArray text = QByteArray::number(std::clamp(minutes, 0, kLongest)) + '\n';
    if (!FileWriteStatus::replaceFile(m_path, text).ok())
        return StoreStatus::failure(failed);
    return StoreStatus::success();
}

} // namespace quilloa
