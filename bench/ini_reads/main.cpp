// Reads settings of one INI file through the store: 100,000 reads served by the file
// cache, against the peer that parses the file again for every read (what a store
// without a cache would do), and prints reads per second and the ratio.
//
// usage: bench_ini_reads [FOLDER]   (a scratch folder; the default is /tmp)
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "core/ini_store.h"
#include "core/text.h"
#include "platform/profile/profile.h"
#include "bench/timing.h"

namespace {

using bench::since;

}  // namespace

int main(int argc, char** argv) {
    TXT_CrLfInit();
    std::string file = std::string(argc > 1 ? argv[1] : "/tmp") + "/bench_ini_reads." +
                       std::to_string(::getpid()) + ".ini";
    const int kEntries = 400;
    for (int i = 0; i < kEntries; ++i)
        INI_Put("Section " + std::to_string(i % 8), "Key" + std::to_string(i),
                "value " + std::to_string(i) + " with some words", file);

    const int kCached = 100000;
    size_t sink = 0;
    auto start = bench::Clock::now();
    for (int i = 0; i < kCached; ++i) {
        int k = (i * 7919) % kEntries;
        sink += INI_Get("Section " + std::to_string(k % 8), "Key" + std::to_string(k), file, kIniMissingMarker).size();
    }
    double cached = since(start);

    const int kUncached = 2000;
    start = bench::Clock::now();
    for (int i = 0; i < kUncached; ++i) {
        int k = (i * 7919) % kEntries;
        profile::flush(file);  // drops the cached file: the next read parses it again
        sink += INI_Get("Section " + std::to_string(k % 8), "Key" + std::to_string(k), file, kIniMissingMarker).size();
    }
    double uncached = since(start);
    ::unlink(file.c_str());

    double cachedRate = kCached / cached, uncachedRate = kUncached / uncached;
    std::printf("%d cached reads:   %.3f s  (%.0f reads/s)\n", kCached, cached, cachedRate);
    std::printf("%d uncached reads:  %.3f s  (%.0f reads/s)\n", kUncached, uncached, uncachedRate);
    std::printf("ratio cached/uncached: %.1f  (checksum %zu)\n", cachedRate / uncachedRate, sink);
    return 0;
}
