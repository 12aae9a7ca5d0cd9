#pragma once

namespace tv {

// Calendar fields of one instant, as the system clock gives them.
struct CalendarTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The system clock: the current UTC and local date and time as calendar fields.
// Collaborations: SystemClock (the real clock), FakeClock (tests).
class Clock {
public:
    virtual ~Clock() = default;
    virtual CalendarTime utcNow() const = 0;
    virtual CalendarTime localNow() const = 0;
};

class SystemClock final : public Clock {
public:
    CalendarTime utcNow() const override;
    CalendarTime localNow() const override;
};

} // namespace tv
