#pragma once

#include "startup/AppContext.h"

#include <QDialog>

namespace quilloa {

// "药品维护": the drug list with usage texts, edited in place.
class DrugWindow : public QDialog
{
    Q_OBJECT
public:
    explicit DrugWindow(const AppContext& context, QWidget* parent = nullptr);

private:
    AppContext m_context;
};

} // namespace quilloa
