#pragma once
// One INI file held as its lines, with indexes that make lookups ignoring (ASCII)
// case cost a hash probe. Lines that are neither headers nor entries are kept as they
// are, so rewriting a hand-edited file loses nothing; there is no comment syntax.
//
// Duplicates: the first section of a name is the section, and its first entry of a
// key is the entry (reads, writes and entry erases act there); erasing a section
// removes every section of that name.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace profile {

class IniDocument {
public:
    IniDocument() = default;
    // Accepts LF, CR LF and CR line ends.
    explicit IniDocument(std::string_view bytes);

    // The entry's value, blanks trimmed and one pair of surrounding double quotes
    // removed; nullptr when the section or the entry is missing.
    const std::string* find(std::string_view section, std::string_view key) const;
    std::vector<std::string> sectionNames() const;
    // Empty when the section is missing.
    std::vector<std::string> keyNames(std::string_view section) const;

    // The section's non-blank lines below its header; nothing when it is missing.
    std::optional<std::vector<std::string>> lines(std::string_view section) const;

    // Each returns true when the document changed.
    bool set(std::string_view section, std::string_view key, std::string_view value);
    bool eraseKey(std::string_view section, std::string_view key);
    bool eraseSection(std::string_view section);
    bool replaceSection(std::string_view section, const std::vector<std::string>& body);

    // The file's bytes, every line ended by LF.
    std::string bytes() const;

private:
    struct Section {
        std::string name;
        size_t header = 0;  // line of "[name]"
        size_t end = 0;     // one past its last line
        std::unordered_map<std::string, size_t> keyLine;     // folded key -> first line
        std::unordered_map<std::string, std::string> value;  // folded key -> read value
        std::vector<std::string> keys;                       // first spellings, in order
    };

    void reindex();
    const Section* section(std::string_view name) const;

    std::vector<std::string> lines_;
    std::vector<Section> sections_;
    std::unordered_map<std::string, size_t> sectionIndex_;  // folded name -> first section
};

// ASCII-only lower case, never the locale.
std::string foldCase(std::string_view text);

}  // namespace profile
