#pragma once

#include <QString>

class QWidget;

namespace quilloa {

// A scripted round through the real main window, for checking a built or installed program
// where nobody can click (the Windows program under Wine). With QUILLOA_SMOKE_RUN=1 in the
// environment the program opens a sheet, types a patient, saves through the menu, searches the
// archive by the name and ends with 0 only when the saved prescription is listed and both
// stores exist; otherwise it names the failed step and ends with 2 (3 when a step hangs).
class SmokeRun
{
public:
    static bool requested();
    static void start(QWidget* window, const QString& dataFolder);
};

} // namespace quilloa
