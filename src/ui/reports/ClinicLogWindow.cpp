#include "reports/ClinicLogWindow.h"

namespace quilloa {

ClinicLogWindow::ClinicLogWindow(const AppContext& context, std::function<QString()> doctor,
                                 QWidget* parent)
    : QDialog(parent), m_context(context), m_doctor(std::move(doctor))
{
    setObjectName(QStringLiteral("form12"));
    setWindowTitle(QStringLiteral("门诊日志"));
}

} // namespace quilloa
