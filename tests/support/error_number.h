#pragma once
// The run-time error number a call raises, 0 when it raises none.
#include "platform/sys/rt_error.h"

namespace testsupport {

template <class F>
int errorOf(F&& f) {
    try {
        f();
    } catch (const sys::RtError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace testsupport
