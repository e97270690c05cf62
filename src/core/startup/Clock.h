#pragma once

#include <QDateTime>

namespace quilloa {

// The source of "now". The program uses the system clock; tests and the benchmark hand in a
// fixed one (tests/support/FixedClock.h) so they run the same on any date.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace quilloa
