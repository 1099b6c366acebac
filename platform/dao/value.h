#pragma once
// A field or parameter value as the database gives it: Null, a 64-bit integer, a
// double or text (bytes). Booleans are stored as the integers -1 and 0.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace dao {

class Value {
public:
    enum class Kind { Null, Integer, Real, Text };

    Value() = default;  // Null
    Value(std::nullptr_t) {}
    Value(int v) : v_(std::int64_t{v}) {}
    Value(long v) : v_(std::int64_t{v}) {}
    Value(long long v) : v_(std::int64_t{v}) {}
    Value(double v) : v_(v) {}
    Value(bool v) : v_(std::int64_t{v ? -1 : 0}) {}
    Value(const char* v) : v_(std::string(v)) {}
    Value(std::string v) : v_(std::move(v)) {}
    Value(std::string_view v) : v_(std::string(v)) {}

    Kind kind() const { return static_cast<Kind>(v_.index()); }
    bool isNull() const { return kind() == Kind::Null; }

    // The value as text: integers plainly, doubles with up to 15 significant digits
    // and never an exponent. Null raises error 94 (invalid use of Null).
    std::string asText() const;
    // The value as a number; text must hold a whole number (blanks around allowed),
    // else error 13. Null raises error 94.
    double asDouble() const;
    std::int64_t asInteger() const;  // doubles round half to even

    const std::string* textIf() const { return std::get_if<std::string>(&v_); }

    friend bool operator==(const Value&, const Value&) = default;

private:
    std::variant<std::monostate, std::int64_t, double, std::string> v_;
};

// A double as text the way the database layer shows it: no exponent, no ".0".
std::string formatDouble(double v);

// Reads a whole text as a number (leading and trailing blanks allowed).
bool parseNumber(std::string_view text, double& out);

}  // namespace dao
