#include "core/startup/AppContext.h"

namespace quilloa {

AppContext::AppContext(const QString& programFolder, std::shared_ptr<const Clock> clock)
    : m_paths(programFolder), m_clock(std::move(clock)), m_archive(m_paths.archiveFile),
      m_settings(m_paths.settingsFile)
{
}

} // namespace quilloa
