// URL decoding never makes a text longer and gives back any text from its full
// percent encoding; entity decoding never makes a text longer unless it holds a named
// reference (an unknown name is marked, "???name???").
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/url_routines.h"

namespace {

bool hasNamedReference(const std::string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '&' && text[i + 1] != '#') return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    std::string decoded = text;
    HHTML_URLDecode(decoded);
    if (decoded.size() > text.size()) __builtin_trap();

    std::string encoded;
    for (unsigned char c : text) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%%%02X", c);
        encoded += hex;
    }
    if (HHTML_URLDecode(encoded) != text) __builtin_trap();

    const std::string entities = HTML_DecodeEntities(text, false);
    if (!hasNamedReference(text) && entities.size() > text.size()) __builtin_trap();
    return 0;
}
