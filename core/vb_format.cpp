#include "core/vb_format.h"

#include <array>
#include <charconv>
#include <optional>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/dates.h"
#include "core/numbers.h"
#include "core/text.h"
#include "platform/sys/ascii.h"
#include "platform/sys/rt_error.h"

namespace core {
namespace {


// Calls `literal` for quoted texts and "\x" escapes, `other` with each remaining
// character's position; `other` returns how many characters it consumed.
template <class Literal, class Other>
void walk(std::string_view section, Literal literal, Other other) {
    for (size_t i = 0; i < section.size();) {
        char c = section[i];
        if (c == '"') {
            size_t close = section.find('"', i + 1);
            if (close == std::string_view::npos) close = section.size();
            literal(section.substr(i + 1, close - i - 1));
            i = close + 1;
        } else if (c == '\\') {
            if (i + 1 < section.size()) literal(section.substr(i + 1, 1));
            i += 2;
        } else {
            i += other(i);
        }
    }
}

std::vector<std::string_view> splitSections(std::string_view format) {
    std::vector<std::string_view> sections;
    size_t start = 0;
    bool quoted = false;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '"') quoted = !quoted;
        else if (format[i] == '\\' && !quoted) ++i;
        else if (format[i] == ';' && !quoted) {
            sections.push_back(format.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(format.substr(std::min(start, format.size())));
    return sections;
}

enum class Kind { Number, Date, Text };

bool isDateLetter(char c) {
    c = sys::asciiLower(c);
    return c == 'y' || c == 'm' || c == 'd' || c == 'h' || c == 'n' || c == 's';
}

Kind kindOf(std::string_view section) {
    bool digits = false, dateLetters = false, textMarks = false;
    walk(section, [](std::string_view) {}, [&](size_t i) {
        char c = section[i];
        digits |= c == '0' || c == '#';
        dateLetters |= isDateLetter(c);
        textMarks |= c == '@' || c == '&';
        return size_t(1);
    });
    if (digits) return Kind::Number;
    if (dateLetters) return Kind::Date;
    return textMarks ? Kind::Text : Kind::Number;
}

// The magnitude rounded half away from zero to `decimals` places, worked on its 15
// significant decimal digits so that binary noise (2.675 is 2.67499...) does not
// decide. `whole` has no leading zeros ("" for zero).
struct Decimal {
    std::string whole, fraction;
    bool zero() const { return whole.find_first_not_of('0') == std::string::npos && fraction.find_first_not_of('0') == std::string::npos; }
};

Decimal toDecimal(double magnitude, int decimals) {
    Decimal d;
    if (magnitude < 1e15 && magnitude == std::floor(magnitude)) {
        // Whole numbers, the usual case of counts, need no rounding.
        if (magnitude != 0) d.whole = std::to_string(static_cast<long long>(magnitude));
        d.fraction.assign(size_t(decimals), '0');
        return d;
    }
    if (magnitude != 0) {
        // 15 significant digits, "d.dddddddddddddde+XX", cut into whole and fraction.
        char buffer[40];
        char* end = std::to_chars(buffer, buffer + sizeof buffer - 1, magnitude, std::chars_format::scientific, 14).ptr;
        *end = '\0';  // the exponent is read up to here
        char digits[20];
        int n = 0;
        digits[n++] = buffer[0];
        const char* p = buffer + 2;
        for (; p < end && *p != 'e'; ++p) digits[n++] = *p;
        long point = std::strtol(p + 1, nullptr, 10) + 1;  // digits before "."
        if (point <= 0) {
            d.fraction.assign(size_t(-point), '0');
            d.fraction.append(digits, size_t(n));
        } else if (point >= n) {
            d.whole.assign(digits, size_t(n));
            d.whole.append(size_t(point - n), '0');
        } else {
            d.whole.assign(digits, size_t(point));
            d.fraction.assign(digits + point, size_t(n - point));
        }
    }
    const bool roundUp = d.fraction.size() > size_t(decimals) && d.fraction[size_t(decimals)] >= '5';
    d.fraction.resize(size_t(decimals), '0');
    if (roundUp) {
        // Carry from the last kept decimal into the whole part.
        bool carry = true;
        for (size_t k = d.fraction.size(); carry && k-- > 0;) {
            carry = d.fraction[k] == '9';
            d.fraction[k] = carry ? '0' : char(d.fraction[k] + 1);
        }
        for (size_t k = d.whole.size(); carry && k-- > 0;) {
            carry = d.whole[k] == '9';
            d.whole[k] = carry ? '0' : char(d.whole[k] + 1);
        }
        if (carry) d.whole.insert(d.whole.begin(), '1');
    }
    return d;
}

}  // namespace

struct NumberFormat::Item {
    enum Type { Whole, Point, Fraction, Literal } type;
    char placeholder = 0;  // '0' or '#'
    std::string text;
};

struct NumberFormat::Section {
    std::vector<Item> items;
    bool present = false;  // the format has this section, and it is not empty
    bool grouping = false;
    int percents = 0;
    int wholeCount = 0, wholeMin = 0, fractionCount = 0, fractionMin = 0;
};

namespace {

NumberFormat::Section compileSection(std::string_view section) {
    using Item = NumberFormat::Item;
    NumberFormat::Section out;
    out.present = !section.empty();
    bool point = false;
    walk(section, [&](std::string_view text) { out.items.push_back({Item::Literal, 0, std::string(text)}); },
         [&](size_t i) {
             char c = section[i];
             if (c == '0' || c == '#') {
                 out.items.push_back({point ? Item::Fraction : Item::Whole, c, {}});
             } else if (c == '.' && !point) {
                 out.items.push_back({Item::Point, 0, {}});
                 point = true;
             } else if (c == ',' && !point) {
                 out.grouping = true;
             } else if ((c == 'e' || c == 'E') && i + 1 < section.size() &&
                        (section[i + 1] == '+' || section[i + 1] == '-')) {
                 sys::raise(5, "Format");  // exponent formats are not needed
             } else {
                 out.percents += c == '%';
                 if (!out.items.empty() && out.items.back().type == Item::Literal) out.items.back().text += c;
                 else out.items.push_back({Item::Literal, 0, std::string(1, c)});
             }
             return size_t(1);
         });
    for (const Item& item : out.items) {
        if (item.type == Item::Whole) {
            ++out.wholeCount;
            if (item.placeholder == '0' && out.wholeMin == 0) out.wholeMin = 1;
            else if (out.wholeMin > 0) ++out.wholeMin;
        } else if (item.type == Item::Fraction) {
            ++out.fractionCount;
            if (item.placeholder == '0') out.fractionMin = out.fractionCount;
        }
    }
    return out;
}

std::string applySection(double value, const NumberFormat::Section& f, bool withSign) {
    using Item = NumberFormat::Item;
    for (int k = 0; k < f.percents; ++k) value *= 100;
    if (!std::isfinite(value)) sys::raise(sys::kErrOverflow, "Format");

    Decimal d = toDecimal(std::fabs(value), f.fractionCount);
    while (int(d.fraction.size()) > f.fractionMin && d.fraction.back() == '0') d.fraction.pop_back();
    std::string whole = d.whole;
    if (int(whole.size()) < f.wholeMin) whole.insert(0, size_t(f.wholeMin) - whole.size(), '0');

    // A value that rounds to zero shows no minus sign.
    std::string out = withSign && value < 0 && !d.zero() ? "-" : "";
    const int length = int(whole.size());
    auto digit = [&](int fromRight) {
        out += whole[size_t(length - 1 - fromRight)];
        if (f.grouping && fromRight > 0 && fromRight % 3 == 0) out += ',';
    };
    auto allDigitsFrom = [&](int fromRight) {
        for (int r = length - 1; r >= fromRight; --r) digit(r);
    };
    int wholeSeen = 0, fractionSeen = 0;
    bool wholeWritten = false;
    for (const Item& item : f.items) {
        switch (item.type) {
        case Item::Whole: {
            int fromRight = f.wholeCount - 1 - wholeSeen++;
            if (!wholeWritten) allDigitsFrom(fromRight);  // the leftmost takes any surplus
            else if (fromRight < length) digit(fromRight);
            wholeWritten = true;
            break;
        }
        case Item::Point:
            if (!wholeWritten) allDigitsFrom(0);
            wholeWritten = true;
            out += '.';
            break;
        case Item::Fraction:
            if (fractionSeen < int(d.fraction.size())) out += d.fraction[size_t(fractionSeen)];
            ++fractionSeen;
            break;
        case Item::Literal:
            out += item.text;
            break;
        }
    }
    if (!wholeWritten) allDigitsFrom(0);
    return out;
}

// Reports format thousands of values with the same few formats: the last few formats
// read are kept, so each is read once. A memo only; the result never depends on it.
const NumberFormat& compiledFormat(std::string_view format) {
    struct Entry {
        std::string text;
        std::optional<NumberFormat> compiled;
    };
    thread_local std::array<Entry, 4> memo;
    thread_local size_t next = 0;
    for (Entry& e : memo)
        if (e.compiled && e.text == format) return *e.compiled;
    Entry& e = memo[next];
    next = (next + 1) % memo.size();
    e.compiled.reset();
    e.compiled.emplace(format);
    e.text = std::string(format);
    return *e.compiled;
}

std::string formatNumber(double value, std::string_view format) { return compiledFormat(format)(value); }

std::string twoDigits(int n) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", n);
    return buffer;
}

std::string formatDate(double serial, std::string_view section) {
    DateParts p = dateParts(serial);
    std::string out;
    auto field = [&](int& run, int one, const char* const* names) {
        if (names && run >= 4) out += names[one], run -= 4;
        else if (names && run == 3) out += std::string(names[one]).substr(0, 3), run -= 3;
        else if (run >= 2) out += twoDigits(names ? one + 1 : one), run -= 2;
        else out += std::to_string(names ? one + 1 : one), run -= 1;
    };
    walk(section, [&](std::string_view text) { out += text; }, [&](size_t i) {
        char c = sys::asciiLower(section[i]);
        if (!isDateLetter(c)) {
            out += section[i];
            return size_t(1);
        }
        int length = 1;
        while (i + size_t(length) < section.size() && sys::asciiLower(section[i + size_t(length)]) == c) ++length;
        for (int run = length; run > 0;) {
            switch (c) {
            case 'y':
                if (run >= 4) out += std::to_string(p.year), run -= 4;
                else if (run >= 2) out += twoDigits(p.year % 100), run -= 2;
                else out += std::to_string(dayOfYear(serial)), run -= 1;
                break;
            case 'm': field(run, p.month - 1, kMonthNames); break;
            case 'd':
                if (run >= 3) field(run, vbWeekday(serial) - 1, kDayNames);
                else field(run, p.day, nullptr);
                break;
            case 'h': field(run, p.hour, nullptr); break;
            case 'n': field(run, p.minute, nullptr); break;
            default: field(run, p.second, nullptr); break;
            }
        }
        return size_t(length);
    });
    return out;
}

std::string formatText(const std::string& text, std::string_view section) {
    int placeholders = 0;
    walk(section, [](std::string_view) {}, [&](size_t i) {
        placeholders += section[i] == '@' || section[i] == '&';
        return size_t(1);
    });
    const int length = int(text.size());
    std::string out;
    int seen = 0;
    walk(section, [&](std::string_view literal) { out += literal; }, [&](size_t i) {
        char c = section[i];
        if (c != '@' && c != '&') {
            out += c;
            return size_t(1);
        }
        int fromRight = placeholders - 1 - seen++;
        if (seen == 1 && length > fromRight) out += text.substr(0, size_t(length - fromRight));
        else if (seen > 1 && fromRight < length) out += text[size_t(length - 1 - fromRight)];
        else if (c == '@') out += ' ';
        return size_t(1);
    });
    return out;
}

std::string generalDate(double serial) {
    DateParts p = dateParts(serial);
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", p.year, p.month, p.day);
    std::string time = twoDigits(p.hour) + ":" + twoDigits(p.minute) + ":" + twoDigits(p.second);
    long long seconds = serialSeconds(serial);
    if (seconds >= 0 && seconds < 86400) return time;  // no date part
    if (p.hour == 0 && p.minute == 0 && p.second == 0) return date;
    return std::string(date) + " " + time;
}

// The value as a number; nothing for the empty value and for texts that are not numbers.
std::optional<double> numberOf(const Variant& value) {
    if (auto b = std::get_if<bool>(&value)) return *b ? -1.0 : 0.0;
    if (auto l = std::get_if<long>(&value)) return double(*l);
    if (auto d = std::get_if<double>(&value)) return *d;
    if (auto dt = std::get_if<DateTime>(&value)) return dt->serial;
    double number = 0;
    if (auto s = std::get_if<std::string>(&value); s && parseNumber(*s, number)) return number;
    return std::nullopt;
}

// The value as a date serial, range unchecked; nothing for texts that are no date.
std::optional<double> dateOf(const Variant& value) {
    if (auto number = numberOf(value)) return number;
    if (auto s = std::get_if<std::string>(&value)) return parseDateText(*s);
    return std::nullopt;
}

std::string formatWith(const Variant& value, std::string_view format) {
    std::string_view first = splitSections(format)[0];
    auto unchanged = [&] {
        auto s = std::get_if<std::string>(&value);
        return s ? *s : std::string();
    };
    switch (kindOf(first)) {
    case Kind::Number: {
        auto number = numberOf(value);
        return number ? formatNumber(*number, format) : unchanged();
    }
    case Kind::Date: {
        auto serial = dateOf(value);
        return serial ? formatDate(*serial, first) : unchanged();
    }
    case Kind::Text:
        return formatText(vbCStr(value), first);
    }
    return {};
}

}  // namespace

std::string vbCStr(const Variant& value) {
    if (auto b = std::get_if<bool>(&value)) return *b ? "True" : "False";
    if (auto l = std::get_if<long>(&value)) return std::to_string(*l);
    if (auto d = std::get_if<double>(&value)) return vbStr(*d);
    if (auto dt = std::get_if<DateTime>(&value)) return generalDate(dt->serial);
    if (auto s = std::get_if<std::string>(&value)) return *s;
    return {};
}

NumberFormat::NumberFormat(std::string_view format) {
    for (std::string_view section : splitSections(format)) sections_.push_back(compileSection(section));
}

NumberFormat::~NumberFormat() = default;
NumberFormat::NumberFormat(const NumberFormat&) = default;

std::string NumberFormat::operator()(double value) const {
    if (value < 0 && sections_.size() >= 2 && sections_[1].present) return applySection(-value, sections_[1], false);
    if (value == 0 && sections_.size() >= 3 && sections_[2].present) return applySection(value, sections_[2], false);
    return applySection(value, sections_[0], true);
}

std::string vbFormat(const Variant& value, std::string_view format) {
    if (std::holds_alternative<std::monostate>(value)) return {};
    if (format.empty()) return vbCStr(value);
    std::string named = lowerAscii(format);
    if (named == "standard") return formatWith(value, "#,##0.00");
    if (named == "short date") return formatWith(value, "yyyy-mm-dd");
    if (named == "short time") return formatWith(value, "hh:nn");
    return formatWith(value, format);
}

}  // namespace core

std::string TXT_FormatVar(const core::Variant& value, std::string_view format) {
    try {
        return core::vbFormat(value, format);
    } catch (const sys::RtError&) {
        return {};
    }
}

std::string TXT_FormatStr(std::string_view value, std::string_view format) {
    return TXT_FormatVar(std::string(value), format);
}

std::string TXT_FormatDbl(double value, std::string_view format) { return TXT_FormatVar(value, format); }
std::string TXT_FormatLng(long value, std::string_view format) { return TXT_FormatVar(value, format); }
