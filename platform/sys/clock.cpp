#include "platform/sys/clock.h"

#include <chrono>
#include <ctime>

namespace sys {
namespace {

class SystemClock : public Clock {
public:
    double secondsSinceMidnight() const override {
        timespec ts{};
        clock_gettime(CLOCK_REALTIME, &ts);
        std::tm local{};
        localtime_r(&ts.tv_sec, &local);
        return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + ts.tv_nsec / 1e9;
    }
    double monotonicSeconds() const override {
        using namespace std::chrono;
        return duration<double>(steady_clock::now().time_since_epoch()).count();
    }
    double dateTimeSerial() const override {
        constexpr double kUnixEpochSerial = 25569;  // 1 January 1970
        timespec ts{};
        clock_gettime(CLOCK_REALTIME, &ts);
        std::tm local{};
        localtime_r(&ts.tv_sec, &local);
        double localSeconds = double(ts.tv_sec) + double(local.tm_gmtoff) + ts.tv_nsec / 1e9;
        return kUnixEpochSerial + localSeconds / 86400.0;
    }
};

const SystemClock systemClock;
const Clock* current = &systemClock;

}  // namespace

const Clock& clock() { return *current; }
void setClock(const Clock* c) { current = c ? c : &systemClock; }

}  // namespace sys
