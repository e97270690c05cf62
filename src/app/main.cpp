#include "startup/AppStartup.h"

#include <QApplication>
#include <QWidget>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quilloa"));
    std::unique_ptr<QWidget> window(quilloa::AppStartup::start(
        QApplication::applicationDirPath(), std::make_shared<quilloa::SystemClock>()));
    return QApplication::exec();
}
