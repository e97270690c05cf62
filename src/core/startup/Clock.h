#pragma once

#include <QDateTime>

namespace quilloa {

// The source of "now". The program uses the system clock; tests pass a fixed one so they run
// the same on any date.
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

class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime moment) : m_moment(std::move(moment)) {}
    QDateTime now() const override { return m_moment; }
    void set(const QDateTime& moment) { m_moment = moment; }

private:
    QDateTime m_moment;
};

} // namespace quilloa
