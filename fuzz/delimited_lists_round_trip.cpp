// Joining items into a delimited list and splitting it again gives the same items, in
// plain and in protected mode, for any delimiter.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/delimited_lists.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const bool plain = in.ConsumeBool();
    std::string delimiter = in.ConsumeRandomLengthString(4);
    const std::string spec = plain ? kChunksNoExclusion : in.ConsumeBool() ? "{}" : "<>";
    // A blank delimiter is trimmed away around protected items, and an empty one
    // means "|"; the open and close characters belong to the protection.
    if (delimiter.empty() || delimiter.find(' ') != std::string::npos) return 0;
    if (!plain && delimiter.find_first_of(spec) != std::string::npos) return 0;
    std::vector<std::string> items;
    while (in.remaining_bytes() > 0 && items.size() < 12) items.push_back(in.ConsumeRandomLengthString(16));
    if (items.empty() || (items.size() == 1 && items[0].empty())) return 0;  // the empty list

    core::StrArray array;
    array.redim(0, static_cast<long>(items.size()) - 1);
    for (size_t i = 0; i < items.size(); ++i) array.set(static_cast<long>(i), items[i]);
    const std::string list = CHUNKS_JoinEx(array, delimiter, spec, 0, false);
    core::StrArray back;
    CHUNKS_SplitEx(list, delimiter, spec, back, 0);
    if (back.items() != items) __builtin_trap();
    return 0;
}
