#include "core/printing/PrintQueue.h"

namespace quilloa {

PrintQueue::~PrintQueue() = default;

QString PrintQueue::noPrinterMessage()
{
    return QStringLiteral("没有找到默认打印机，没有打印。请在系统的打印机设置中添加一台打印机并"
                          "设为默认，然后再打印一次。");
}

} // namespace quilloa
