#include "platform/dao/value.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/dao/errors.h"

namespace dao {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::int64_t roundToInteger(double d) {
    if (std::isnan(d)) raise(kErrConversion, "Data type conversion error: not a number");
    double r = std::nearbyint(d);  // the default rounding mode rounds half to even
    if (r >= 9.2233720368547758e18) return std::numeric_limits<std::int64_t>::max();
    if (r <= -9.2233720368547758e18) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(r);
}

}  // namespace

std::string formatDouble(double v) {
    if (std::isnan(v)) return "NaN";
    if (std::isinf(v)) return v > 0 ? "Infinity" : "-Infinity";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    std::string s = buf;
    if (s.find('e') == std::string::npos) return s;
    // Spell it out in full: the 15 significant digits, then zeros.
    int exp = 0;
    std::snprintf(buf, sizeof buf, "%.14e", v);
    std::string m = buf;
    auto epos = m.find('e');
    exp = std::atoi(m.c_str() + epos + 1);
    int decimals = exp < 0 ? 14 - exp : std::max(0, 14 - exp);
    std::snprintf(buf, sizeof buf, "%.*f", std::min(decimals, 40), v);
    s = buf;
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    return s;
}

bool parseNumber(std::string_view text, double& out) {
    size_t b = 0, e = text.size();
    while (b < e && isBlank(text[b])) ++b;
    while (e > b && isBlank(text[e - 1])) --e;
    if (b == e) return false;
    std::string s(text.substr(b, e - b));
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size()) return false;
    // strtod also reads "inf", "nan" and hex; a stored number is none of these.
    for (char c : s)
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' ||
              c == 'e' || c == 'E'))
            return false;
    return true;
}

std::string Value::asText() const {
    switch (kind()) {
    case Kind::Null: raise(kErrInvalidUseOfNull, "Invalid use of Null");
    case Kind::Integer: return std::to_string(std::get<std::int64_t>(v_));
    case Kind::Real: return formatDouble(std::get<double>(v_));
    case Kind::Text: return std::get<std::string>(v_);
    }
    return {};
}

double Value::asDouble() const {
    switch (kind()) {
    case Kind::Null: raise(kErrInvalidUseOfNull, "Invalid use of Null");
    case Kind::Integer: return static_cast<double>(std::get<std::int64_t>(v_));
    case Kind::Real: return std::get<double>(v_);
    case Kind::Text: {
        double d = 0;
        if (!parseNumber(std::get<std::string>(v_), d))
            raise(kErrTypeMismatch, "Type mismatch: \"" + std::get<std::string>(v_) + "\"");
        return d;
    }
    }
    return 0;
}

std::int64_t Value::asInteger() const {
    if (kind() == Kind::Integer) return std::get<std::int64_t>(v_);
    return roundToInteger(asDouble());
}

}  // namespace dao
