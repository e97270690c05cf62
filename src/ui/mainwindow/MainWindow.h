#pragma once

#include "startup/AppContext.h"

#include <QMainWindow>

namespace quilloa {

// The working window: drug search and archive on the left, the prescription desk on the right.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(const AppContext& context, QWidget* parent = nullptr);

    const AppContext& context() const { return m_context; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    AppContext m_context;
};

} // namespace quilloa
