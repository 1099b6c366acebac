#pragma once
// Typed arrays written out in a test: the items in order, from item 0 (or the given
// lower bound).
#include <initializer_list>
#include <string>

#include "core/typed_array.h"

namespace testsupport {

inline core::StrArray strArray(std::initializer_list<std::string> items, long lbound = 0) {
    core::StrArray a;
    a.redim(lbound, lbound + static_cast<long>(items.size()) - 1);
    long i = lbound;
    for (const std::string& item : items) a.set(i++, item);
    return a;
}

inline core::LngArray lngArray(std::initializer_list<long> items) {
    core::LngArray a;
    for (long n : items) a.append(n);
    return a;
}

}  // namespace testsupport
