// One log line through what the addition makes of it: split by a shipped format (or
// a fuzzed format line), its time stamp, the values stored for its fields, and the
// search term of its referrer by the shipped engine definitions and by a fuzzed one.
// No step may stop the read; a stored text keeps within its column's limit; a term is
// never longer than its referrer.
#include <cmath>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "bench/unattended.h"
#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "logimport/line_timestamp.h"
#include "logimport/log_format.h"
#include "logimport/logline_store.h"
#include "logimport/search_engine_store.h"
#include "logimport/search_engines.h"
#include "platform/sys/rt_error.h"

namespace {

using logimport::SEDefTables;
using logimport::SEMatch;

struct Shipped {
    std::vector<LogFmtCompiled> formats;
    SEDefTables engines;
};

// The formats and engine definitions the program ships, read from its resources.
const Shipped& shipped() {
    static const Shipped s = [] {
        static bench::Unattended ui;
        core::setUserInterface(&ui);
        gAppPath = DRAVOLIN_SOURCE_DIR "/resources/";
        gIniLogFmts = gAppPath + "param/logfmts.ini";
        Shipped out;
        core::StrArray names;
        CHUNKS_Split(INI_Get("Main", "AcD", gIniLogFmts, kIniMissingEmpty), names, 1);
        for (long i = 1; i <= names.ubound(); ++i) {
            out.formats.emplace_back();
            STTA_LogFmtDefLoad(names[i], out.formats.back());
        }
        STTA_SEDefsLoad();
        out.engines = logimport::programSEDefTables();
        if (out.formats.empty() || out.engines.defs().empty()) __builtin_trap();
        return out;
    }();
    return s;
}

// The column limit of a stored text field; 0 for a number.
long limitOf(int fieldNo) {
    switch (fieldNo) {
        case kFldFileName:
        case kFldUserAgent:
        case kFldReferrer:
            return 253;
        case kFldQuery:
            return 200;
        default:
            return 100;
    }
}

void termWithin(const SEDefTables& tables, const std::string& referrer) {
    const SEMatch m = tables.extract(referrer);
    if (m.term.size() > referrer.size()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const Shipped& s = shipped();
    // Parts after the first byte, cut at line feeds: [format line,] log line, engine
    // definition.
    std::vector<std::string> parts;
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    for (std::size_t start = 0;;) {
        const std::size_t end = rest.find('\n', start);
        parts.push_back(rest.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    LogFmtCompiled fuzzed;
    const LogFmtCompiled* format = &s.formats[data[0] % s.formats.size()];
    std::size_t next = 0;
    if (data[0] >= 200) {  // a format line of its own
        STTA_LogFmtDefCompile({"", parts[next++]}, fuzzed);
        format = &fuzzed;
    }
    if (next >= parts.size()) return 0;
    const std::string& line = parts[next++];
    LogFields fields;
    if (!STTA_LogLineSplit(line, *format, fields) || !STTA_LogFieldsHoldData(fields)) return 0;

    double timestamp = 0, first = 0;
    const double serial = STTA_LineTimestamp(fields, timestamp, first);
    if (!std::isfinite(serial)) __builtin_trap();
    STTA_LineStamp(fields);
    for (int no : {kFldBytes, kFldStatus, kFldIpAddress, kFldMicroseconds})
        if (!std::isfinite(STTA_LogFieldNumber(fields, no))) __builtin_trap();
    for (int no = 1; no <= kLogFmtTokenCount; ++no) {
        const core::Variant value = STTA_LogLineFieldValue(no, fields);
        if (const auto* text = std::get_if<std::string>(&value); text && long(text->size()) > limitOf(no))
            __builtin_trap();
        if (const auto* number = std::get_if<double>(&value); number && !std::isfinite(*number)) __builtin_trap();
    }

    const std::string& referrer = fields[kFldReferrer];
    termWithin(s.engines, referrer);
    if (next < parts.size()) {
        try {
            termWithin(SEDefTables({parts[next]}), referrer);
        } catch (const sys::RtError& e) {
            if (e.number() != 93) __builtin_trap();  // a URL spec that is no pattern
        }
    }
    return 0;
}
