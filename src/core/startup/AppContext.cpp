#include "core/startup/AppContext.h"

namespace quilloa {
namespace {

StoreConnection storeOf(const StoreLocation& location, const QString& file)
{
    return location.isServer() ? StoreConnection(location) : StoreConnection(file);
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
    return m_archive.file().description();
}

} // namespace quilloa
