// Tests the user agent of a million log lines against the shipped robot filters with
// the filter-set test, and with a peer that lower-cases each agent and searches every
// rule text in it; prints lines per second and the ratio.
//
// usage: bench_filter_sets FLTRBOTS_INI   (resources/param/fltrbots.ini)
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/text.h"
#include "logimport/filter_store.h"
#include "bench/timing.h"

namespace {

using bench::seconds;

const char* const kAgents[] = {
    "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/120.0.0.0 Safari/537.36",
    "Mozilla/5.0 (Windows NT 10.0; Win64; x64; rv:121.0) Gecko/20100101 Firefox/121.0",
    "Mozilla/5.0 (iPhone; CPU iPhone OS 17_2 like Mac OS X) AppleWebKit/605.1.15 (KHTML, like "
    "Gecko) Version/17.2 Mobile/15E148 Safari/604.1",
    "Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/120.0.6099.144 Mobile Safari/537.36",
    "Mozilla/5.0 (compatible; Googlebot/2.1; +http://www.google.com/bot.html)",
    "curl/8.4.0",
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FLTRBOTS_INI\n", argv[0]);
        return 2;
    }
    TXT_CrLfInit();
    FltrSet set;
    STTA_FltrSetLoad(argv[1], set, "SkipRobotUserAgents", true, false);
    set.Any = true;
    const long lines = 1000000;
    const std::size_t kinds = sizeof kAgents / sizeof kAgents[0];

    LogFields line;
    long index = 0, ours = 0;
    std::string value;
    double oursTime = seconds([&] {
        for (long i = 0; i < lines; ++i) {
            line[kFldUserAgent] = kAgents[static_cast<std::size_t>(i) % kinds];
            ours += STTA_FltrSetTest(line, set, index, false, value);
        }
    });
    long peer = 0;
    double peerTime = seconds([&] {
        for (long i = 0; i < lines; ++i) {
            line[kFldUserAgent] = kAgents[static_cast<std::size_t>(i) % kinds];
            std::string agent = core::lowerAscii(line[kFldUserAgent]);
            for (std::size_t r = 1; r < set.Rules.size(); ++r) {
                const FltrRule& rule = set.Rules[r];
                bool hit = rule.Typ == kFltrStartsWith ? agent.starts_with(rule.Val)
                                                       : agent.find(rule.Val) != std::string::npos;
                if (hit) {
                    ++peer;
                    break;
                }
            }
        }
    });
    std::printf("rules: %ld, lines: %ld, robots: %ld / %ld\n", FLTR_RuleUBound(set.Rules), lines,
                ours, peer);
    std::printf("filter set test: %.0f lines/s\n", lines / oursTime);
    std::printf("peer (lower-case and search): %.0f lines/s\n", lines / peerTime);
    std::printf("ratio set test/peer: %.2f\n", peerTime / oursTime);
    return ours == peer ? 0 : 1;
}
