// Dates read from any text and VB-style Format with any pattern: a date read back
// from its own text (in each of the forms the program stores or shows) is the same
// date to the second, and Format raises no error but those it documents (5: a date
// out of range or an exponent format; 6: a number scaled by "%" past a Double).
#include <cstdint>
#include <string>

#include "core/dates.h"
#include "core/numbers.h"
#include "core/vb_format.h"
#include "platform/sys/rt_error.h"

namespace {

// The forms dates are written in and read back from.
const char* const kDateForms[] = {"yyyy-mm-dd hh:nn:ss", "dd mmm yyyy hh:nn:ss", "d/m/yyyy hh:nn:ss",
                                  "Short date"};

void readsBack(double serial) {
    for (const char* form : kDateForms) {
        const std::string text = core::vbFormat(core::DateTime{serial}, form);
        const auto back = core::parseDateText(text);
        if (!back) __builtin_trap();
        const bool dateOnly = std::string(form) == "Short date";
        const long long seconds = core::serialSeconds(serial);
        const long long dayStart = (seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400) * 86400;
        const long long want = dateOnly ? dayStart : seconds;
        if (core::serialSeconds(*back) != want) __builtin_trap();
    }
    const auto back = core::parseDateText(core::vbCStr(core::DateTime{serial}));
    if (!back || core::serialSeconds(*back) != core::serialSeconds(serial)) __builtin_trap();
}

void formatsOrRaisesDocumented(const core::Variant& value, const std::string& pattern) {
    try {
        core::vbFormat(value, pattern);
    } catch (const sys::RtError& e) {
        if (e.number() != 5 && e.number() != 6) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find('\n');
    const std::string text = input.substr(0, cut);
    const std::string pattern = cut == std::string::npos ? std::string("dd mmm yyyy") : input.substr(cut + 1);
    const auto serial = core::parseDateText(text);
    if (serial) {
        if (*serial < core::kMinDateSerial || *serial > core::kMaxDateSerial) __builtin_trap();
        readsBack(*serial);
        formatsOrRaisesDocumented(core::DateTime{*serial}, pattern);
    }
    double number = 0;
    if (core::parseNumber(text, number)) formatsOrRaisesDocumented(number, pattern);
    formatsOrRaisesDocumented(text, pattern);
    return 0;
}
