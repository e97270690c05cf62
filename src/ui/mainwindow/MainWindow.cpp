#include "mainwindow/MainWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>

namespace quilloa {

MainWindow::MainWindow(const AppContext& context, QWidget* parent)
    : QMainWindow(parent), m_context(context)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quilloa V2.0"));
    auto* desk = new QWidget(this);
    setCentralWidget(desk);
    desk->setFixedSize(15240 / 15, 10290 / 15);
}

// Closing the main window ends the program at once, whatever other window is open.
void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    QCoreApplication::quit();
}

} // namespace quilloa
