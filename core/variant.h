#pragma once
// The loosely typed value that some routines take where the old code passed a
// Variant: a text typed by the user, a date, a number or nothing at all.
#include <string>
#include <variant>

namespace core {

// A date value: days since 30 December 1899, the fraction the time of day. Kept
// apart from a plain double so that formatting and conversions know it is a date.
struct DateTime {
    double serial = 0;
    bool operator==(const DateTime&) const = default;
};

// std::monostate is the empty value (nothing given, or a Null field).
using Variant = std::variant<std::monostate, bool, long, double, DateTime, std::string>;

}  // namespace core
