#include "maintenance/DrugWindow.h"

namespace quilloa {

DrugWindow::DrugWindow(const AppContext& context, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("药品维护"));
}

} // namespace quilloa
