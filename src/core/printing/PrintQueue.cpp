#include "core/printing/PrintQueue.h"

namespace quilloa {

PrintQueue::~PrintQueue() = default;

QString PrintQueue::noPrinterMessage()
{
    return QStringLiteral("没有找到默认打印机，没有打印。请在系统的打印机设置中添加一台打印机并"
                          "设为默认，然后再打印一次。");
}

QString PrintQueue::serviceUnreachableMessage()
{
    return QStringLiteral("无法连接系统的打印服务，没有打印。请确认打印服务（CUPS）正在运行，"
                          "例如重新启动电脑，然后再打印一次。");
}

QString PrintQueue::absenceMessage() const
{
    return lastAbsence() == Absence::ServiceUnreachable ? serviceUnreachableMessage()
                                                        : noPrinterMessage();
}

} // namespace quilloa
