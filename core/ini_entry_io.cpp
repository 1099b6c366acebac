#include "core/ini_entry_io.h"

#include <sys/stat.h>

#include "core/ini_alt_files.h"
#include "core/ini_encoding.h"
#include "core/ini_store.h"
#include "core/text.h"
#include "platform/sys/rt_error.h"

namespace core::ini {

std::string encodeSection(const std::string& section) {
    return INI_EncodeText(section, true, false, true, false, false);
}

std::string encodeEntry(const std::string& entry) {
    // A name that begins with "[" would be written as a section line; its brackets are
    // coded. Other names keep their brackets, as files already written hold them.
    const size_t first = entry.find_first_not_of(" \t\v\f");
    const bool sectionLike = first != std::string::npos && entry[first] == '[';
    return INI_EncodeText(entry, sectionLike, true, true, false, false);
}

std::string storedValue(const std::string& value) {
    std::string s = INI_EncodeText(value, false, false, true, true, true);
    INI_EscapeCtlChars(s);
    return s;
}

bool readEntry(const std::string& file, const std::string& section, const std::string& entry,
               std::string& value) {
    const std::string s = encodeSection(section), e = encodeEntry(entry);
    std::string text;
    // A short read first; a full buffer means the value may be longer.
    if (profile::getString(s, e, kIniNotFound, text, 200, file) == 199) {
        size_t n = profile::getString(s, e, kIniNotFound, text, kSharedBufferLen, file);
        if (TXT_StartsWith(text, kIniNotFound, true))
            throw sys::RtError(1412, "INI entry vanished while it was read: " + file + ". Section: " +
                                         section + ". Entry: " + entry, "INI_GetCore");
        if (static_cast<long>(n) == kSharedBufferLen - 1)
            throw sys::RtError(1413, "INI value longer than the read buffer: " + file + ". Section: " +
                                         section + ". Entry: " + entry, "INI_GetCore");
    }
    if (TXT_StartsWith(text, kIniNotFound, true)) return false;
    if (size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    INI_UnescapeCtlChars(text);
    INI_DecodeCodes(text);
    value = std::move(text);
    return true;
}

profile::WriteResult writeStored(const std::string& file, const std::string& section,
                                 const std::string& entry, std::optional<std::string> stored,
                                 bool capped) {
    std::optional<std::string_view> v;
    if (stored) v = *stored;
    return profile::writeString(encodeSection(section), encodeEntry(entry), v, file,
                                capped ? static_cast<size_t>(kIniFileSizeLimit) : 0);
}

profile::WriteResult eraseSection(const std::string& file, const std::string& section) {
    return profile::writeString(encodeSection(section), std::nullopt, std::nullopt, file);
}

long fileLength(const std::string& file) {
    struct stat st{};
    return ::stat(file.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : 0;
}

std::string failureNote(const profile::WriteResult& r) {
    return r.ok() ? std::string() : gCRCR + "System message: " + r.message();
}

}  // namespace core::ini
