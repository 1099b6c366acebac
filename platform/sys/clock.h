#pragma once
// Time sources for timeouts and progress. Injectable so tests can drive time.

namespace sys {

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since local midnight, with fractions (the old system timer).
    virtual double secondsSinceMidnight() const = 0;
    // Seconds on a monotonic clock; only differences mean anything.
    virtual double monotonicSeconds() const = 0;
    // Local date and time as a date serial: days since 30 December 1899, the
    // fraction the time of day.
    virtual double dateTimeSerial() const = 0;
};

// The clock in force: the system's unless a test installed another.
const Clock& clock();
// Installs a clock (nullptr restores the system's); the caller keeps ownership.
void setClock(const Clock* clock);

// A clock that moves only when told to.
class ManualClock : public Clock {
public:
    double secondsSinceMidnight() const override { return midnight_; }
    double monotonicSeconds() const override { return mono_; }
    double dateTimeSerial() const override { return serial_; }
    void advance(double seconds) {
        midnight_ += seconds;
        mono_ += seconds;
        serial_ += seconds / 86400.0;
    }
    void setSecondsSinceMidnight(double s) { midnight_ = s; }
    void setDateTimeSerial(double serial) { serial_ = serial; }

private:
    double midnight_ = 0;
    double mono_ = 0;
    double serial_ = 0;
};

}  // namespace sys
