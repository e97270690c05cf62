#pragma once

#include "startup/AppContext.h"

#include <QDialog>

namespace quilloa {

// "工作量统计": prescriptions and takings of a day or a month.
class StatisticsWindow : public QDialog
{
    Q_OBJECT
public:
    explicit StatisticsWindow(const AppContext& context, QWidget* parent = nullptr);

private:
    AppContext m_context;
};

} // namespace quilloa
