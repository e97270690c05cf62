#pragma once

#include "core/store/StoreResult.h"

#include <QtGlobal>

#include <source_location>

namespace quilloa::test {

// A write that prepares a test. One that fails ends the run at its cause, naming the line,
// rather than leaving the test to fail later for a reason it does not show.
inline void setUp(const StoreStatus& status,
                  std::source_location where = std::source_location::current())
{
    if (!status.ok())
        qFatal("%s:%u: a test's set-up write failed: %s", where.file_name(), unsigned(where.line()),
               qPrintable(status.error()));
}

} // namespace quilloa::test
