#include "core/store/UnsettledSave.h"

namespace quilloa {
namespace {

// Kept as the status's detail, which is never shown.
const QString kStalled = QStringLiteral("unsettled: the attempt's server process does not end");
const QString kUnanswered = QStringLiteral("unsettled: the server did not answer the look");

} // namespace

StoreStatus UnsettledSave::status(const QString& server, bool stalled)
{
    return StoreStatus::failure(StoreFault::TimedOut, server, stalled ? kStalled : kUnanswered);
}

bool UnsettledSave::is(const StoreStatus& status)
{
    return status.fault() == StoreFault::TimedOut &&
           (status.detail() == kStalled || status.detail() == kUnanswered);
}

QString UnsettledSave::message(const StoreStatus& status)
{
    const QString what =
        status.detail() == kStalled
            ? QStringLiteral("%1 上处理这次保存的进程停住了，程序结束不了它，所以不能确定这张"
                             "处方最后是否存进去。")
            : QStringLiteral("保存的请求发出后，%1 没有回答，程序也查不到这张处方是否已经存进去"
                             "（服务器停住了或网络不通）。");
    return what.arg(status.path()) +
           QStringLiteral("处方仍在屏幕上。请稍后再按“保存”：程序会先查看服务器上是否已有"
                          "这张处方，不会存成两份。");
}

} // namespace quilloa
