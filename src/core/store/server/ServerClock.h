#pragma once

#include "core/store/StoreConnection.h"

#include <QDateTime>
#include <QString>

#include <chrono>

namespace quilloa {

// A new prescription's key and visit date come from this computer's clock, and every room
// files into the same archive: a room whose clock is far off files its records under the wrong
// day without anyone seeing it. Compared with the server's clock when the program connects.
class ServerClock
{
public:
    // More than this apart is not a clock that drifted a little.
    static constexpr std::chrono::minutes kTolerance{5};

    // What to tell before the first save when `roomNow`, this computer's time just before the
    // call, is more than kTolerance from the server's clock; empty when they agree, or when the
    // server could not be asked (which the user is told otherwise).
    [[nodiscard]] static QString check(const StoreConnection& server, const QDateTime& roomNow);
    // The words for a room `offsetSeconds` ahead of the server (behind when negative).
    [[nodiscard]] static QString warning(const QString& server, qint64 offsetSeconds,
                                         const QDateTime& room);
};

} // namespace quilloa
