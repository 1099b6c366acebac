#pragma once
// The VB Format language, as far as the program uses it, without the locale: "."
// decimal point, "," grouping, English month names, 24-hour times, and "short date"
// written yyyy-mm-dd so that stored dates read back anywhere.
//
// Numbers: 0 and # digit placeholders, "." and "," (grouping), "%" (times 100), other
// characters, "\x" and "quoted" texts as literals, and up to three ";" sections
// (positive; negative; zero). Halves round away from zero on the value's 15
// significant digits, so 2.675 with "0.00" gives 2.68.
// Dates: y yy yyyy, m mm mmm mmmm, d dd ddd dddd, h hh, n nn, s ss (any case).
// Texts: "@" (a character or a blank) and "&" (a character or nothing), filled from
// the right. Named formats: "Standard", "Short date", "Short time".
// A format with no digit placeholder but date letters is a date format; with neither
// but "@" or "&", a text mask. Error 5 for a date out of range or an exponent format;
// error 6 when a number is past a Double's range once "%" has scaled it.
#include <string>
#include <string_view>
#include <vector>

#include "core/variant.h"

namespace core {

// A number format read once, for formatting many values the way vbFormat does. Error 5
// at construction for an exponent format.
class NumberFormat {
public:
    explicit NumberFormat(std::string_view format);
    NumberFormat(const NumberFormat&);
    ~NumberFormat();
    std::string operator()(double value) const;

    struct Item;
    struct Section;

private:
    std::vector<Section> sections_;
};

// Numbers, dates and texts as Format gives them; a text that is not a number (or not
// a date, for date formats) comes back unchanged. The empty value gives "".
std::string vbFormat(const Variant& value, std::string_view format);
// The text of a value with no format: numbers in their shortest form, dates as
// "yyyy-mm-dd hh:nn:ss" (either half alone when the other is zero), "True"/"False".
std::string vbCStr(const Variant& value);

}  // namespace core

// The format wrappers: the empty string when formatting raises an error.
std::string TXT_FormatStr(std::string_view value, std::string_view format);
std::string TXT_FormatVar(const core::Variant& value, std::string_view format);
std::string TXT_FormatDbl(double value, std::string_view format);
std::string TXT_FormatLng(long value, std::string_view format);
