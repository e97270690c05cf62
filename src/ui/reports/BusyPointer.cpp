#include "ui/reports/BusyPointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace quilloa {

BusyPointer::BusyPointer()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyPointer::~BusyPointer()
{
    QGuiApplication::restoreOverrideCursor();
}

} // namespace quilloa
