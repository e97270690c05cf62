#pragma once

#include "startup/AppContext.h"
#include "store/ReferenceEntry.h"

#include <QDialog>

namespace quilloa {

// "诊断名称维护" and "地址名称维护": the diagnosis and address lists, added to and deleted from.
class ReferenceWindow : public QDialog
{
    Q_OBJECT
public:
    // `list` is ReferenceList::Diagnoses or ReferenceList::Addresses.
    ReferenceWindow(const AppContext& context, ReferenceList list, QWidget* parent = nullptr);

private:
    AppContext m_context;
    ReferenceList m_list;
};

} // namespace quilloa
