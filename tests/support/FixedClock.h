#pragma once

#include "core/startup/Clock.h"

#include <QDateTime>

#include <utility>

namespace quilloa {

// A clock that reads what the test set, so dates in a test are the same on any day it runs.
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
