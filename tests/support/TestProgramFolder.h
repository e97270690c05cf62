#pragma once

#include "core/startup/AppContext.h"
#include "core/store/StorePaths.h"
#include "support/FixedClock.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <memory>

namespace quilloa::test {

// A program folder in a temporary directory with fresh, empty stores (no sample entries) and a
// fixed clock, so tests run the same on any date. Closes the store connections when done.
class TestProgramFolder
{
public:
    enum class Stores
    {
        Create,
        None
    };

    explicit TestProgramFolder(Stores stores = Stores::Create,
                               QDateTime now = QDateTime(QDate(2009, 3, 25), QTime(18, 8, 43)));
    ~TestProgramFolder();

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    const StorePaths& paths() const { return m_paths; }
    const std::shared_ptr<FixedClock>& clock() const { return m_clock; }
    AppContext context() const { return AppContext(path(), m_clock); }

private:
    QTemporaryDir m_dir;
    StorePaths m_paths;
    std::shared_ptr<FixedClock> m_clock;
};

} // namespace quilloa::test
