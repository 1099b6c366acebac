#include "dialogs/option_strings.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace dlg {

namespace {

std::function<double()>& workAreaSource() {
    static std::function<double()> source;
    return source;
}

}  // namespace

double workAreaWidthTwips() {
    auto& source = workAreaSource();
    return source ? source() : 0.0;
}

void setWorkAreaWidthSource(std::function<double()> source) {
    workAreaSource() = std::move(source);
}

std::string joinOptions(std::string_view first, std::string_view second) {
    std::string joined(first);
    if (!first.empty() && !second.empty() && first.back() != '|') joined += '|';
    joined += second;
    return joined;
}

std::string plainNumber(double value, int digits) {
    if (value == 0 || !std::isfinite(value)) return "0";
    // Round to the significant digits in scientific form, then spell the digits out
    // around the decimal point, so a large or tiny value never shows an exponent.
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                   std::chars_format::scientific, digits - 1);
    if (ec != std::errc()) return "0";
    std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    std::size_t e = text.find('e');
    int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    std::string mantissa;
    bool negative = text.front() == '-';
    for (char c : text.substr(0, e))
        if (c >= '0' && c <= '9') mantissa += c;
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();

    std::string out;
    long point = exponent + 1;  // digits before the decimal point
    if (point <= 0) {
        out = "0." + std::string(static_cast<std::size_t>(-point), '0') + mantissa;
    } else if (static_cast<std::size_t>(point) >= mantissa.size()) {
        out = mantissa + std::string(static_cast<std::size_t>(point) - mantissa.size(), '0');
    } else {
        out = mantissa.substr(0, static_cast<std::size_t>(point)) + "." +
              mantissa.substr(static_cast<std::size_t>(point));
    }
    return negative ? "-" + out : out;
}

}  // namespace dlg

namespace {

std::string item(std::string_view name, std::string_view value) {
    std::string text(name);
    text += '=';
    text += value;
    text += '|';
    return text;
}

std::string braced(std::string_view name, std::string_view value) {
    return "{" + std::string(name) + "=" + std::string(value) + "}|";
}

std::string widthPct(std::string_view name, long percent) {
    return item(name, dlg::plainNumber(percent / 100.0 * dlg::workAreaWidthTwips()));
}

}  // namespace

std::string MB_ValueAtField(long n, std::string_view value) {
    if (n < 1) return {};
    std::string text;
    for (long k = 1; k < n; ++k) text += "|~~|";
    text += value;
    return text;
}

std::string MB_OptNoKeys() { return "NoKeys|"; }
std::string MB_OptEsc(long n) { return item("Esc", std::to_string(n)); }
std::string MB_OptDfltButton(long n) { return item("DfltButton", std::to_string(n)); }

std::string MB_OptKeyHides(int keyCode, int shift) {
    auto one = [keyCode](int s) {
        return braced("KeyHides", std::to_string(s) + "|" + std::to_string(keyCode));
    };
    if (shift != -1) return one(shift);
    std::string all;
    for (int s = 0; s <= 7; ++s) all += one(s);
    return all;
}

std::string MB_OptMaxButtonsPerLine(long n) {
    return item("MBButtspec.MaxBpl", std::to_string(n));
}

std::string MB_OptNoHide(std::string_view text, int unloadOthers, int backdrop) {
    return braced("NoHide", std::string(text) + "|" + std::to_string(unloadOthers) + "|" +
                                std::to_string(backdrop));
}

std::string MB_OptBackColor(long colour) { return item("BackColor", std::to_string(colour)); }
std::string MB_OptForeColor(long colour) { return item("ForeColor", std::to_string(colour)); }
std::string MB_OptTextBold() { return "TextBold|"; }
std::string MB_OptTextFont(std::string_view fontName) { return item("TextFont", fontName); }
std::string MB_OptTopLeft(std::string_view topLeft) { return braced("Top, left of form", topLeft); }

std::string MB_OptMinWidthPct(long percent) { return widthPct("Default and Min Width", percent); }
std::string MB_OptMinWidth(float twips) {
    return item("Default and Min Width", dlg::plainNumber(twips, 7));
}
std::string MB_OptFixedWidthPct(long percent) { return widthPct("Fixed Width", percent); }
std::string MB_OptFixedWidth(float twips) { return item("Fixed Width", dlg::plainNumber(twips, 7)); }
