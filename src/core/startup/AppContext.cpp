#include "core/startup/AppContext.h"

namespace quilloa {
namespace {

StoreFile storeOf(const StoreLocation& location, const QString& file)
{
    return location.isServer() ? StoreFile(location) : StoreFile(file);
}

} // namespace

AppContext::AppContext(const QString& programFolder, std::shared_ptr<const Clock> clock,
                       const StoreLocation& location)
    : m_paths(programFolder), m_clock(std::move(clock)), m_location(location),
      m_archive(storeOf(location, m_paths.archiveFile)),
      m_settings(storeOf(location, m_paths.settingsFile))
{
}

QString AppContext::storeDescription() const
{
    if (m_location.isServer())
        return m_location.description();
    return QStringLiteral("本机文件 %1").arg(m_paths.dataFolder);
}

} // namespace quilloa
