// An entry written to an INI file reads back as it was written, beside another entry
// that must stay untouched, whatever bytes the value holds and whatever typed text
// (no control characters) the section and entry names hold. Names the store reserves
// must be refused, never lost.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/ini_alt_files.h"
#include "core/ini_store.h"
#include "core/text.h"
#include "platform/sys/rt_error.h"

namespace {

const std::string& folder() {
    static const std::string path = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "dravolin-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        TXT_CrLfInit();
        INI_AltListsLoad({});
        return pattern;
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string section = in.ConsumeRandomLengthString(24);
    const std::string entry = in.ConsumeRandomLengthString(24);
    const std::string value = in.ConsumeRemainingBytesAsString();
    auto typed = [](const std::string& name) {
        if (name.empty()) return false;
        for (unsigned char c : name)
            if (c < 32) return false;
        return true;
    };
    if (!typed(section) || !typed(entry)) return 0;
    const std::string file = folder() + "/round.ini";
    std::filesystem::remove(file);
    INI_Put("Other", "kept", "still here", file);
    try {
        INI_Put(section, entry, value, file);
    } catch (const sys::RtError& e) {
        if (e.number() >= 8011 && e.number() <= 8013) return 0;  // a reserved name
        throw;
    }
    if (INI_Get(section, entry, file, 1) != value) __builtin_trap();
    if (INI_Get("Other", "kept", file, 1) != "still here") __builtin_trap();
    return 0;
}
