#pragma once

#include "core/store/StoreResult.h"

#include <QtGlobal>

namespace quilloa::bench {

// A timed store call that failed would be timed as if it had answered: the run stops instead.
inline void answered(const StoreStatus& status)
{
    if (!status.ok())
        qFatal("a timed store call failed: %s", qPrintable(status.error()));
}

} // namespace quilloa::bench
