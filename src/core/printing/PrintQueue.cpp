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

QString PrintQueue::unknownPaperMessage(const QString& printer)
{
    return QStringLiteral("无法确定打印机“%1”用的是多大的纸，没有打印：按猜测的纸张打印，内容会"
                          "印歪或被裁掉。请在系统的打印机设置中为它选定默认纸张（例如 A4 或 "
                          "A5），然后再打印一次。")
        .arg(printer);
}

QString PrintQueue::absenceMessage() const
{
    return lastAbsence() == Absence::ServiceUnreachable ? serviceUnreachableMessage()
                                                        : noPrinterMessage();
}

} // namespace quilloa
