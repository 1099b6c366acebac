#pragma once

#include "platform/sys/clock.h"

namespace testsupport {

// Moves on a second at every reading, so that every block and line is due for a
// progress update.
class TickingClock : public sys::ManualClock {
public:
    double monotonicSeconds() const override { return ++ticks_; }

private:
    mutable double ticks_ = 0;
};

}  // namespace testsupport
