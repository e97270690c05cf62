#include "maintenance/ReferenceWindow.h"

namespace quilloa {

ReferenceWindow::ReferenceWindow(const AppContext& context, ReferenceList list, QWidget* parent)
    : QDialog(parent), m_context(context), m_list(list)
{
    const bool diagnoses = list == ReferenceList::Diagnoses;
    setObjectName(diagnoses ? QStringLiteral("Form3") : QStringLiteral("Form4"));
    setWindowTitle(diagnoses ? QStringLiteral("诊断名称维护") : QStringLiteral("地址名称维护"));
}

} // namespace quilloa
