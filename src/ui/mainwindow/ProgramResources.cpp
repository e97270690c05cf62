#include "ui/mainwindow/ProgramResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace quilloa {

void loadProgramResources()
{
    static const bool loaded = [] {
        initResources();
        return true;
    }();
    Q_UNUSED(loaded);
}

} // namespace quilloa
