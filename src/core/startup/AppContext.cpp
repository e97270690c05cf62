#include "startup/AppContext.h"

namespace quilloa {

AppContext::AppContext(const QString& programFolder, std::shared_ptr<const Clock> clock)
    : m_paths(programFolder), m_clock(std::move(clock))
{
}

} // namespace quilloa
