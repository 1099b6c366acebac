// Splits every line of a combined-format access log with the log-format splitter
// (alone, and as the reading does, with the line time stamp) and with a hand-written
// parser for that one format (the peer), and prints lines per second and the ratio.
//
// usage: bench_log_split FILE   (make one with: genlog.py 1000000 -o FILE)
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "logimport/line_timestamp.h"
#include "logimport/log_format.h"
#include "bench/timing.h"

namespace {

using bench::seconds;

std::vector<std::string_view> linesOf(const std::string& text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.emplace_back(text.data() + start, end - start);
        start = end + 1;
    }
    return lines;
}

// The peer: knows the combined format by heart and cuts at fixed delimiters.
size_t peerSplit(std::string_view l, std::string_view (&f)[8]) {
    auto cut = [&](size_t& pos, char c) {
        size_t at = l.find(c, pos);
        if (at == std::string_view::npos) at = l.size();
        std::string_view v = l.substr(pos, at - pos);
        pos = at + 1;
        return v;
    };
    size_t pos = 0;
    f[0] = cut(pos, ' ');             // host
    cut(pos, '[');
    f[1] = cut(pos, ']');             // time
    cut(pos, '"');
    f[2] = cut(pos, '"');             // request
    ++pos;
    f[3] = cut(pos, ' ');             // status
    f[4] = cut(pos, ' ');             // bytes
    ++pos;
    f[5] = cut(pos, '"');             // referrer
    pos += 2;
    f[6] = cut(pos, '"');             // agent
    return f[0].size() + f[6].size();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s LOGFILE\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream buf;
    buf << in.rdbuf();
    std::string text = buf.str();
    auto lines = linesOf(text);

    LogFmtCompiled compiled;
    STTA_LogFmtDefCompile(
        {"", "%s %*u %u [%d/%M/%Y:%h:%n:%e %*S] \"%*t %r %*T\" %c %b \"%f\" \"%B\""}, compiled);
    LogFields fields;
    size_t matched = 0, check = 0;
    double ours = seconds([&] {
        for (auto l : lines) {
            if (STTA_LogLineSplit(l, compiled, fields)) {
                ++matched;
                check += fields[kFldIpAddress].size() + fields[kFldUserAgent].size();
            }
        }
    });
    double stampSum = 0;
    double withStamps = seconds([&] {
        double stamp = 0, first = 0;
        // As the reading splits: only lines whose date can be read match.
        for (auto l : lines) {
            long date = 0;
            if (STTA_LogLineSplit(l, compiled, fields, &date))
                stampSum += STTA_LineTimestamp(fields, date, stamp, first);
        }
    });
    size_t peerCheck = 0;
    double peer = seconds([&] {
        std::string_view f[8];
        std::string owned[8];
        for (auto l : lines) {
            peerCheck += peerSplit(l, f);
            for (int i = 0; i < 7; ++i) owned[i].assign(f[i]);  // same copying work as ours
        }
    });
    double n = double(lines.size());
    std::printf("lines: %zu, matched: %zu (check %zu / %zu)\n", lines.size(), matched, check, peerCheck);
    std::printf("splitter: %.0f lines/s\n", n / ours);
    std::printf("splitter + line time stamp: %.0f lines/s (check %.0f)\n", n / withStamps, stampSum);
    std::printf("peer (fixed combined parser): %.0f lines/s\n", n / peer);
    std::printf("ratio splitter/peer: %.2f\n", (n / ours) / (n / peer));
    return matched == lines.size() ? 0 : 1;
}
