#pragma once
// Wall-clock timing shared by the bench programs.
#include <chrono>

namespace bench {

using Clock = std::chrono::steady_clock;

// Seconds since t.
inline double since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// Seconds that f takes.
template <typename F>
double seconds(F&& f) {
    auto t0 = Clock::now();
    f();
    return since(t0);
}

}  // namespace bench
