// The log-line splitter over any line, with a shipped format or a fuzzed format line:
// a line that matches gives fields that are each part of the line, and together no
// longer than it.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "bench/unattended.h"
#include "logimport/log_format.h"

namespace {

// The format lines of the formats the program ships.
const std::array<const char*, 4> kShipped = {
    R"(%s %*u %u [%d/%M/%Y:%h:%n:%e %*S] "%*t %r %*T" %c %b "%f" "%B")",
    R"(%s %*u %u [%d/%M/%Y:%h:%n:%e %*S] "%*t %r %*T" %c %b)",
    R"(%v:%*U %s %*u %u [%d/%M/%Y:%h:%n:%e %*S] "%*t %r %*T" %c %b "%f" "%B")",
    R"(%Y-%m-%d %h:%n:%e %*S %*t %r %q %*U %u %s %B %f %c %*j %*T %*D)",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // A faulty format line is reported in a box, which is answered at once.
    static const bool quiet = [] {
        static bench::Unattended ui;
        core::setUserInterface(&ui);
        return true;
    }();
    (void)quiet;
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<std::string> items{""};
    std::string line;
    if (data[0] < 4 * 50) {  // most inputs try a shipped format
        items.push_back(kShipped[data[0] % 4]);
        line = rest;
    } else {  // the fuzzed format line, then the log line
        const size_t cut = rest.find('\n');
        if (cut == std::string::npos) return 0;
        items.push_back(rest.substr(0, cut));
        line = rest.substr(cut + 1);
    }
    LogFmtCompiled compiled;
    STTA_LogFmtDefCompile(items, compiled);
    LogFields fields;
    if (!STTA_LogLineSplit(line, compiled, fields)) return 0;
    size_t total = 0;
    for (const auto& f : fields) {
        // Unescaping a quoted field only ever writes a quote or a backslash: a field
        // without either is cut from the line as it stands.
        const bool mayBeUnescaped = f.find_first_of("\"\\") != std::string::npos;
        if (!mayBeUnescaped && line.find(f) == std::string::npos) __builtin_trap();
        total += f.size();
    }
    if (total > line.size()) __builtin_trap();
    return 0;
}
