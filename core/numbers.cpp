#include "core/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "core/delimited_lists.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "platform/sys/rt_error.h"

namespace core {
namespace {

bool isValBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int digitValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// A radix value as VB types it: 16-bit when it fits, else 32-bit, both signed.
double radixValue(std::uint64_t v) {
    if (v <= 0xFFFF) return static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

// Reads digits of the radix from `i` on, with `skip` deciding which characters to
// pass over; nothing past 32 bits.
template <class Skip>
std::optional<double> readRadix(std::string_view s, size_t i, int radix, Skip skip) {
    std::uint64_t v = 0;
    for (; i < s.size(); ++i) {
        if (skip(s[i])) continue;
        int d = digitValue(s[i]);
        if (d >= radix) break;
        v = v * radix + d;
        if (v > 0xFFFFFFFFull) return std::nullopt;
    }
    return radixValue(v);
}

// The value, or error 6 for a number that does not fit.
double orOverflow(std::optional<double> value, const char* source) {
    if (!value) sys::raise(sys::kErrOverflow, source);
    return *value;
}

// The exponent "[-]digits" held within a bound far past any double's, so that no
// count of digits overflows it.
long long exponentOf(std::string_view digits) {
    constexpr long long kBound = 1000000000;
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
    long long n = 0;
    for (char c : digits)
        if (isDigit(c)) n = std::min(kBound, n * 10 + (c - '0'));
    return negative ? -n : n;
}

// A decimal number already reduced to "[-]digits[.digits][e[-]digits]". Nothing when
// it overflows a double; an underflow reads as 0.
std::optional<double> decimalValue(const std::string& text) {
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Decide between overflow and underflow by the decimal magnitude.
        size_t e = text.find('e');
        const std::string_view mantissa = std::string_view(text).substr(0, e);
        size_t first = mantissa.find_first_of("123456789");
        if (first == std::string::npos) return 0;
        size_t point = mantissa.find('.');
        if (point == std::string::npos) point = mantissa.size();
        long long magnitude = first < point ? static_cast<long long>(point - first) - 1
                                            : -static_cast<long long>(first - point);
        if (e != std::string::npos) magnitude += exponentOf(std::string_view(text).substr(e + 1));
        if (magnitude > 0) return std::nullopt;
        return 0;
    }
    if (ec != std::errc()) return 0;
    return value;
}

}  // namespace

double vbVal(std::string_view s) {
    // A plain run of up to 15 digits, the usual count, needs no conversion routine.
    if (long long n = 0; plainDigitsValue(s, 15, n)) return static_cast<double>(n);
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < s.size() && isValBlank(s[i])) ++i;
    };
    skipBlanks();
    if (i < s.size() && s[i] == '&') {
        ++i;
        skipBlanks();
        if (i >= s.size()) return 0;
        char r = s[i];
        if (r == 'h' || r == 'H') return orOverflow(readRadix(s, i + 1, 16, isValBlank), "Val");
        if (r == 'o' || r == 'O') return orOverflow(readRadix(s, i + 1, 8, isValBlank), "Val");
        return 0;
    }
    std::string number;
    bool digits = false, point = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        if (s[i] == '-') number += '-';
        ++i;
    }
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (isValBlank(c)) continue;
        if (isDigit(c)) {
            number += c;
            digits = true;
        } else if (c == '.' && !point) {
            number += c;
            point = true;
        } else {
            break;
        }
    }
    if (digits && i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::string exponent = "e";
        size_t j = i + 1;
        while (j < s.size() && isValBlank(s[j])) ++j;
        if (j < s.size() && (s[j] == '-' || s[j] == '+')) {
            if (s[j] == '-') exponent += '-';
            ++j;
        }
        bool expDigits = false;
        for (; j < s.size(); ++j) {
            if (isValBlank(s[j])) continue;
            if (!isDigit(s[j])) break;
            exponent += s[j];
            expDigits = true;
        }
        if (expDigits) number += exponent;
    }
    return digits ? orOverflow(decimalValue(number), "Val") : 0;
}

double roundHalfEven(double value) {
    double low = std::floor(value);
    double diff = value - low;
    if (diff > 0.5) return low + 1;
    if (diff < 0.5) return low;
    return std::fmod(low, 2.0) == 0 ? low : low + 1;
}

void raiseOverflow(const char* source) { sys::raise(sys::kErrOverflow, source); }

int vbCInt(double value) {
    double r = roundHalfEven(value);
    if (!(r >= -32768 && r <= 32767)) sys::raise(sys::kErrOverflow, "CInt");
    return static_cast<int>(r);
}

long vbCLng(double value) {
    double r = roundHalfEven(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) sys::raise(sys::kErrOverflow, "CLng");
    return static_cast<long>(r);
}

namespace {

enum class Reading { Number, NotNumber, Overflow };

// CDbl's reading of a text, which tells a number that does not fit a double apart
// from a text that is no number.
Reading readNumber(std::string_view s, double& value) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    if (s.size() >= 2 && s[0] == '&') {
        int radix = (s[1] == 'h' || s[1] == 'H') ? 16 : (s[1] == 'o' || s[1] == 'O') ? 8 : 0;
        if (radix == 0 || s.size() == 2) return Reading::NotNumber;
        for (size_t k = 2; k < s.size(); ++k)
            if (digitValue(s[k]) >= radix) return Reading::NotNumber;
        const std::optional<double> read = readRadix(s, 2, radix, [](char) { return false; });
        if (!read) return Reading::Overflow;
        value = *read;
        return Reading::Number;
    }
    std::string number;
    size_t i = 0;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        if (s[i] == '-') number += '-';
        ++i;
    }
    bool digits = false, point = false;
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (isDigit(c)) {
            number += c;
            digits = true;
        } else if (c == ',' && digits && !point) {
            // grouping inside the whole part
        } else if (c == '.' && !point) {
            number += c;
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return Reading::NotNumber;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        number += 'e';
        ++i;
        if (i < s.size() && (s[i] == '-' || s[i] == '+')) number += s[i++];
        size_t start = i;
        while (i < s.size() && isDigit(s[i])) number += s[i++];
        if (i == start) return Reading::NotNumber;
    }
    if (i != s.size()) return Reading::NotNumber;
    const std::optional<double> read = decimalValue(number);
    if (!read) return Reading::Overflow;
    value = *read;
    return Reading::Number;
}

}  // namespace

bool parseNumber(std::string_view s, double& value) { return readNumber(s, value) == Reading::Number; }

bool isNumericText(std::string_view text) {
    double value = 0;
    return parseNumber(text, value);
}

double vbCDbl(std::string_view text) {
    double value = 0;
    switch (readNumber(text, value)) {
    case Reading::Number: return value;
    case Reading::Overflow: sys::raise(sys::kErrOverflow, "CDbl");
    case Reading::NotNumber: break;
    }
    sys::raise(13, "CDbl");
}

int vbCInt(std::string_view text) { return vbCInt(vbCDbl(text)); }
long vbCLng(std::string_view text) { return vbCLng(vbCDbl(text)); }

std::string vbStr(double value) {
    if (value == 0) return "0";
    // Whole numbers below 1e15, the usual counts, print as they are.
    if (std::fabs(value) < 1e15 && value == std::floor(value)) return std::to_string(static_cast<long long>(value));
    char buffer[64];
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, ec == std::errc() ? end : buffer);
    std::replace(text.begin(), text.end(), 'e', 'E');
    return text;
}

}  // namespace core

namespace {

// Item n (from 1) of a "|" list; empty when absent or when n is no item number.
std::string listItem(std::string_view list, double n) {
    if (!(n >= 1 && n <= 2147483647.0)) return {};
    return CHUNKS_Get(static_cast<long>(n), list);
}

}  // namespace

double TXT_Val(std::string_view text) {
    try {
        return core::vbVal(text);
    } catch (const sys::RtError&) {
        return core::vbVal(TXT_RemoveChar(TXT_RemoveChar(text, "&", true), "%", true));
    }
}

bool TXT_IsTrue(std::string_view text) { return TXT_Val(text) == 1; }
bool TXT_IsTrueB(std::string_view text) { return TXT_IsTrue(text); }
std::string TXT_BoolText(bool value) { return value ? "1" : "0"; }
std::string TXT_BoolTextB(bool value) { return TXT_BoolText(value); }

std::string TXT_BoolChoice(bool flag, std::string_view twoItemList) {
    return listItem(twoItemList, flag ? 1 : 2);
}

int TXT_BoolToInt(bool value) { return static_cast<int>(TXT_Val(TXT_BoolChoice(value, "-1|0"))); }
bool TXT_IsOne(long value) { return value == 1; }

std::string TXT_SafeDivide(double a, double b, std::string_view textForZero,
                           std::string_view format, double& quotient) {
    if (b == 0) return std::string(textForZero);
    quotient = a / b;
    return TXT_FormatDbl(quotient, format);
}

std::string TXT_FormatChoice(bool value, std::string_view format, std::string_view twoItemList) {
    if (!format.empty()) return TXT_FormatVar(value, format);
    return TXT_BoolChoice(value, twoItemList);
}

std::string TXT_FormatOrListItem(double value, std::string_view format,
                                 std::string_view textForZero, std::string_view nameList) {
    if (value == 0) return std::string(textForZero);
    // Rounded without a 32-bit conversion: large counts simply have no name.
    std::string item = listItem(nameList, core::roundHalfEven(value));
    return item.empty() ? TXT_FormatDbl(value, format) : item;
}

double MINMAX_MaxDbl(double a, double b) { return a > b ? a : b; }
int MINMAX_MaxInt(int a, int b) { return a > b ? a : b; }
long MINMAX_MaxLng(long a, long b) { return a > b ? a : b; }
double MINMAX_MinDbl(double a, double b) { return a < b ? a : b; }
int MINMAX_MinInt(int a, int b) { return a < b ? a : b; }
long MINMAX_MinLng(long a, long b) { return a < b ? a : b; }
