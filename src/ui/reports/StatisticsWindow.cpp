#include "reports/StatisticsWindow.h"

namespace quilloa {

StatisticsWindow::StatisticsWindow(const AppContext& context, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("工作量统计"));
}

} // namespace quilloa
