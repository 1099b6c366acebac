#pragma once
// Entries of one physical INI file, as the store keeps them: names and values encoded,
// values escaped. No links, split values or missing-entry policy here; the store and
// its alternate files build on these.
#include <optional>
#include <string>

#include "platform/profile/profile.h"

namespace core::ini {

std::string encodeSection(const std::string& section);
std::string encodeEntry(const std::string& entry);
// The text a value is stored as: encoded, then escaped.
std::string storedValue(const std::string& value);

// False when the entry is missing (or its stored text begins with "*** not found ***").
// Errors 1412 and 1413 for values that do not fit the shared buffer.
bool readEntry(const std::string& file, const std::string& section, const std::string& entry,
               std::string& value);
// Writes the stored text (nothing: erases the entry). With `capped`, a file that holds
// something may not grow past the size limit (EFBIG).
profile::WriteResult writeStored(const std::string& file, const std::string& section,
                                 const std::string& entry, std::optional<std::string> stored,
                                 bool capped);
profile::WriteResult eraseSection(const std::string& file, const std::string& section);
// The file's length in bytes, 0 when it does not exist.
long fileLength(const std::string& file);

// " (system message)" for a failed call, to follow the store's report texts.
std::string failureNote(const profile::WriteResult& r);

}  // namespace core::ini
