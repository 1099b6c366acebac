// Times the analysis behind four reports on a site that bench_import filled: top
// search terms, all pages visited, popular tracks and single words, over the whole
// stored date range. Prints seconds and peak memory per analysis; compare.sh adds
// the peer.
//
// usage: bench_analysis PROGRAM_FOLDER
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "analysis/visit_analysis.h"
#include "bench/timing.h"
#include "bench/unattended_program.h"
#include "core/ini_store.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "logimport/visit_date_range.h"
#include "platform/sys/program_folder.h"
#include "shell/sites.h"
#include "shell/start_up.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM_FOLDER (made by bench_import)\n", argv[0]);
        return 2;
    }
    const std::string folder = std::filesystem::absolute(argv[1]).string();
    bench::UnattendedProgram program(folder);
    program.load();

    const std::string stored = STTA_StoredRangeText(gDB);
    if (stored.empty()) {
        std::fprintf(stderr, "the site holds no visits\n");
        return 1;
    }
    INI_Put("Main", "AnalStartEnd", stored, "::*");
    const std::pair<long, const char*> kinds[] = {{kRkSearchTerm, "top search terms"},
                                                  {kRkVisitedPage, "all pages visited"},
                                                  {kRkTrack, "popular tracks"},
                                                  {kRkSingleWords, "top single words"}};
    int failed = 0;
    for (const auto& [kind, name] : kinds) {
        STTA_Results results;
        bool ok = false;
        const double secs = bench::seconds([&] { ok = STTA_VisitsAnalyse(gDB, results, 10, kind); });
        std::printf("analysis %-18s %.3f s, %zu values, peak %ld MiB\n", name, secs, results.Vals->Items.size() - 1,
                    bench::peakMiB());
        failed += ok ? 0 : 1;
    }
    STTA_SiteDBClose();
    return failed == 0 ? 0 : 1;
}
