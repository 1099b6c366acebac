// The CSV block reader over any text: its rows are a run of consecutive lines, each
// row's fields joined by the separator giving back its line without quotes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/csv_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    core::csv::ReadSpec spec;
    spec.startText = in.ConsumeRandomLengthString(8);
    spec.endText = in.ConsumeRandomLengthString(8);
    spec.separator = in.ConsumeRandomLengthString(2);
    spec.ignoreQuotes = in.ConsumeBool();
    std::vector<std::string> lines;
    std::string rest = in.ConsumeRemainingBytesAsString();
    for (size_t start = 0;;) {
        const size_t end = rest.find('\n', start);
        lines.push_back(rest.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    size_t next = 0;
    auto source = [&](std::string& line) {
        if (next >= lines.size()) return false;
        line = lines[next++];
        return true;
    };
    std::vector<core::csv::Row> rows;
    int status = 0;
    core::csv::readBlock(source, spec, rows, status);
    if (status != core::csv::kFound && status != core::csv::kNoStart && status != core::csv::kNoEnd) __builtin_trap();

    auto joined = [&](const core::csv::Row& row) {
        std::string text;
        for (size_t k = 0; k < row.size(); ++k) text += (k ? spec.separator : "") + row[k];
        return text;
    };
    auto unquoted = [&](std::string line) {
        if (!spec.ignoreQuotes) std::erase(line, '"');
        return line;
    };
    if (rows.empty()) return 0;
    for (size_t first = 0; first + rows.size() <= lines.size(); ++first) {
        bool all = true;
        for (size_t k = 0; all && k < rows.size(); ++k) all = joined(rows[k]) == unquoted(lines[first + k]);
        if (all) return 0;
    }
    __builtin_trap();
}
