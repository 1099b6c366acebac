#pragma once
// Numbers and Booleans: the VB conversions the old code relied on (Val, CInt, CLng,
// CDbl, Str), written without the locale, and the program's number routines on top.
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

namespace core {

// VB Val: the number at the start of the text. Blanks, tabs and line feeds are
// skipped anywhere ("1 2" is 12), "." is the only decimal point, "E" or "D" starts an
// exponent, "&H" and "&O" read hexadecimal and octal (16-bit, then 32-bit signed, as VB
// does: "&HFFFF" is -1). Reading stops at the first character that cannot continue
// the number; no number gives 0. Error 6 when the number does not fit a Double or a
// hexadecimal/octal value exceeds 32 bits.
double vbVal(std::string_view text);
// The value of a text that is a plain run of 1 to `maxDigits` digits ("007" is 7), as Val
// reads it; false for any other text, which needs Val's whole reading. Inline: lists of
// numbers read it for every item.
inline bool plainDigitsValue(std::string_view text, std::size_t maxDigits, long long& value) {
    if (text.empty() || text.size() > maxDigits) return false;
    long long n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + (c - '0');
    }
    value = n;
    return true;
}

// Rounds half to even, as CInt and CLng do.
double roundHalfEven(double value);
// CInt and CLng of a number: rounded half to even, error 6 outside 16 and 32 bits.
int vbCInt(double value);
long vbCLng(double value);
[[noreturn]] void raiseOverflow(const char* source);

// What wholeOf does with a number that Int cannot hold.
enum class OutOfRange { Clamp, Overflow };

// A number read from a file, a log or the user, as a whole number of type Int: cut
// toward zero as a cast would, NaN giving 0. A cast of a value out of range is
// undefined, and an INI entry or a log field may say "1e30": such a value is clamped
// to Int's range, or raises error 6 where it is a counter that must go on from it.
template <typename Int>
Int wholeOf(double value, OutOfRange outOfRange = OutOfRange::Clamp) {
    static_assert(std::numeric_limits<Int>::is_integer);
    // Both bounds are powers of two (or 0), exact as doubles; the upper one is the
    // first whole number that does not fit.
    constexpr double lowest = static_cast<double>(std::numeric_limits<Int>::min());
    constexpr double limit = 2.0 * static_cast<double>(std::numeric_limits<Int>::max() / 2 + 1);
    const double whole = std::trunc(value);
    if (!(whole >= lowest && whole < limit) && outOfRange == OutOfRange::Overflow) raiseOverflow("wholeOf");
    if (std::isnan(whole)) return 0;
    if (whole < lowest) return std::numeric_limits<Int>::min();
    if (whole >= limit) return std::numeric_limits<Int>::max();
    return static_cast<Int>(whole);
}
// CDbl of a text: blanks around, a sign, digits with "," grouping, ".", an exponent,
// or "&H"/"&O". False when the text is not such a number, or one too large for a
// Double: a text that only may be a number never raises.
bool parseNumber(std::string_view text, double& value);
// IsNumeric: true when CDbl would read the text as a number ("1e3", "1,000", "&H1F",
// " -2.5 "); a number too large for a Double is not one.
bool isNumericText(std::string_view text);
// CDbl, CInt and CLng of a text: error 13 when the text is not a number, 6 when it is
// one too large.
double vbCDbl(std::string_view text);
int vbCInt(std::string_view text);
long vbCLng(std::string_view text);
// A number in its shortest form, up to 15 significant digits ("5", "0.25", "1E+20").
std::string vbStr(double value);

}  // namespace core

// Val that also reads texts stored with "%" or "&" ("12.5%" is 12.5).
double TXT_Val(std::string_view text);
// Stored Booleans: only a text whose number is exactly 1 is true; written "1"/"0".
bool TXT_IsTrue(std::string_view text);
bool TXT_IsTrueB(std::string_view text);
std::string TXT_BoolText(bool value);
std::string TXT_BoolTextB(bool value);
// Item 1 of the "|" list when the flag is set, item 2 otherwise ("Yes|No").
std::string TXT_BoolChoice(bool flag, std::string_view twoItemList);
int TXT_BoolToInt(bool value);  // -1 or 0
bool TXT_IsOne(long value);
// a / b formatted; b = 0 gives the text for zero and leaves the quotient alone.
std::string TXT_SafeDivide(double a, double b, std::string_view textForZero,
                           std::string_view format, double& quotient);
// The value formatted, or with an empty format the item of the two-item list.
std::string TXT_FormatChoice(bool value, std::string_view format, std::string_view twoItemList);
// The text for zero when the value is 0; else the item of the name list at the value
// (rounded), or the value formatted when that item is empty or absent.
std::string TXT_FormatOrListItem(double value, std::string_view format,
                                 std::string_view textForZero, std::string_view nameList);

double MINMAX_MaxDbl(double a, double b);
int MINMAX_MaxInt(int a, int b);
long MINMAX_MaxLng(long a, long b);
double MINMAX_MinDbl(double a, double b);
int MINMAX_MinInt(int a, int b);
long MINMAX_MinLng(long a, long b);
