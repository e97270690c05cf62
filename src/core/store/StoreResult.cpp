#include "core/store/StoreResult.h"

#include "core/store/StoreMessage.h"

#include <QSqlError>

namespace quilloa {

StoreStatus StoreStatus::failure(QString message)
{
    StoreStatus status;
    status.m_fault = StoreFault::Failed;
    status.m_message =
        message.isEmpty() ? QStringLiteral("操作未能完成，请重试。") : std::move(message);
    return status;
}

StoreStatus StoreStatus::failure(StoreFault fault, QString path, QString detail)
{
    StoreStatus status;
    status.m_fault = fault == StoreFault::None ? StoreFault::Failed : fault;
    status.m_path = std::move(path);
    status.m_detail = std::move(detail);
    return status;
}

StoreStatus StoreStatus::failure(const QSqlError& error, QString path)
{
    const StoreFault fault =
        StoreMessage::faultAt(StoreMessage::faultOf(error), error.nativeErrorCode().toInt(), path);
    return failure(fault, std::move(path), error.text());
}

QString StoreStatus::error() const
{
    return m_message.isEmpty() ? StoreMessage::of(*this) : m_message;
}

} // namespace quilloa
