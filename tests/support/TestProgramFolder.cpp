#include "support/TestProgramFolder.h"

#include "core/store/StoreConnection.h"
#include "core/store/file/StoreSchema.h"

#include <QDir>

namespace quilloa::test {

// Named with Chinese characters and a space, as a clinic's folders are, so that every test on
// it also proves such paths (the Windows C runtime's narrow file calls among them).
TestProgramFolder::TestProgramFolder(Stores stores, QDateTime now)
    : m_dir(QDir::temp().filePath(QStringLiteral("诊所 数据-XXXXXX"))), m_paths(m_dir.path()),
      m_clock(std::make_shared<FixedClock>(std::move(now)))
{
    if (stores == Stores::None)
        return;
    QDir().mkpath(m_paths.dataFolder);
    // Every test on this folder would fail for the wrong reason: stop at the cause.
    for (const StoreStatus& made :
         {StoreSchema::createArchiveStore(m_paths.archiveFile),
          StoreSchema::createSettingsStore(m_paths.settingsFile, false)}) {
        if (!made.ok())
            qFatal("test stores not made: %s", qPrintable(made.error()));
    }
}

TestProgramFolder::~TestProgramFolder()
{
    StoreConnection::closeAll();
}

} // namespace quilloa::test
