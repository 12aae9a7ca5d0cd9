#pragma once

#include "platform/clock.h"

namespace tv {

// A clock that shows what the test sets; local time defaults to UTC plus two hours.
class FakeClock final : public Clock {
public:
    CalendarTime utcNow() const override { return m_utc; }
    CalendarTime localNow() const override { return m_local; }

    void set(const CalendarTime& utc, const CalendarTime& local)
    {
        m_utc = utc;
        m_local = local;
    }

private:
    CalendarTime m_utc{2015, 6, 21, 9, 41, 7};
    CalendarTime m_local{2015, 6, 21, 11, 41, 7};
};

} // namespace tv
