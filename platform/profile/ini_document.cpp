#include "platform/profile/ini_document.h"
#include "platform/sys/ascii.h"

#include <algorithm>
#include <cstddef>

namespace profile {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// "[name]" with blanks allowed around; a missing "]" takes the rest of the line.
bool parseHeader(std::string_view line, std::string_view& name) {
    line = trim(line);
    if (line.empty() || line.front() != '[') return false;
    line.remove_prefix(1);
    size_t close = line.rfind(']');
    name = trim(close == std::string_view::npos ? line : line.substr(0, close));
    return true;
}

bool parseEntry(std::string_view line, std::string_view& key, std::string_view& value) {
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    key = trim(line.substr(0, eq));
    value = trim(line.substr(eq + 1));
    return true;
}

std::string_view unquote(std::string_view v) {
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') return v.substr(1, v.size() - 2);
    return v;
}

}  // namespace

std::string foldCase(std::string_view text) { return sys::asciiLowerCopy(text); }

IniDocument::IniDocument(std::string_view bytes) {
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        lines_.emplace_back(bytes.substr(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines_.emplace_back(bytes.substr(start));
    reindex();
}

void IniDocument::reindex() {
    sections_.clear();
    sectionIndex_.clear();
    for (size_t i = 0; i < lines_.size(); ++i) {
        std::string_view name, key, value;
        if (parseHeader(lines_[i], name)) {
            if (!sections_.empty()) sections_.back().end = i;
            Section s;
            s.name = std::string(name);
            s.header = i;
            sectionIndex_.try_emplace(foldCase(name), sections_.size());
            sections_.push_back(std::move(s));
        } else if (!sections_.empty() && parseEntry(lines_[i], key, value)) {
            Section& s = sections_.back();
            auto [it, added] = s.keyLine.try_emplace(foldCase(key), i);
            if (!added) continue;
            s.value.emplace(it->first, std::string(unquote(value)));
            s.keys.emplace_back(key);
        }
    }
    if (!sections_.empty()) sections_.back().end = lines_.size();
}

const IniDocument::Section* IniDocument::section(std::string_view name) const {
    auto it = sectionIndex_.find(foldCase(trim(name)));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const std::string* IniDocument::find(std::string_view sectionName, std::string_view key) const {
    const Section* s = section(sectionName);
    if (!s) return nullptr;
    auto it = s->value.find(foldCase(trim(key)));
    return it == s->value.end() ? nullptr : &it->second;
}

std::vector<std::string> IniDocument::sectionNames() const {
    std::vector<std::string> names;
    for (size_t i = 0; i < sections_.size(); ++i)
        if (sectionIndex_.at(foldCase(sections_[i].name)) == i) names.push_back(sections_[i].name);
    return names;
}

std::vector<std::string> IniDocument::keyNames(std::string_view sectionName) const {
    const Section* s = section(sectionName);
    return s ? s->keys : std::vector<std::string>{};
}

bool IniDocument::set(std::string_view sectionName, std::string_view key, std::string_view value) {
    key = trim(key);
    const Section* s = section(sectionName);
    if (!s) {
        lines_.push_back("[" + std::string(trim(sectionName)) + "]");
        lines_.push_back(std::string(key) + "=" + std::string(value));
        reindex();
        return true;
    }
    auto it = s->keyLine.find(foldCase(key));
    if (it != s->keyLine.end()) {
        std::string_view oldKey, oldValue;
        parseEntry(lines_[it->second], oldKey, oldValue);
        std::string line = std::string(oldKey) + "=" + std::string(value);
        if (line == lines_[it->second]) return false;
        lines_[it->second] = std::move(line);
    } else {
        // After the section's last non-blank line, so blank separators stay below it.
        size_t at = s->end;
        while (at > s->header + 1 && trim(lines_[at - 1]).empty()) --at;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                      std::string(key) + "=" + std::string(value));
    }
    reindex();
    return true;
}

bool IniDocument::eraseKey(std::string_view sectionName, std::string_view key) {
    const Section* s = section(sectionName);
    if (!s) return false;
    std::string folded = foldCase(trim(key));
    size_t before = lines_.size();
    auto first = lines_.begin() + static_cast<std::ptrdiff_t>(s->header + 1);
    auto last = lines_.begin() + static_cast<std::ptrdiff_t>(s->end);
    lines_.erase(std::remove_if(first, last,
                                [&](const std::string& line) {
                                    std::string_view k, v;
                                    return parseEntry(line, k, v) && foldCase(k) == folded;
                                }),
                 last);
    if (lines_.size() == before) return false;
    reindex();
    return true;
}

bool IniDocument::eraseSection(std::string_view sectionName) {
    std::string folded = foldCase(trim(sectionName));
    bool changed = false;
    for (size_t i = sections_.size(); i-- > 0;) {
        if (foldCase(sections_[i].name) != folded) continue;
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(sections_[i].header),
                     lines_.begin() + static_cast<std::ptrdiff_t>(sections_[i].end));
        changed = true;
    }
    if (changed) reindex();
    return changed;
}

std::optional<std::vector<std::string>> IniDocument::lines(std::string_view sectionName) const {
    const Section* s = section(sectionName);
    if (!s) return std::nullopt;
    std::vector<std::string> body;
    for (size_t i = s->header + 1; i < s->end; ++i)
        if (!trim(lines_[i]).empty()) body.push_back(lines_[i]);
    return body;
}

bool IniDocument::replaceSection(std::string_view sectionName,
                                 const std::vector<std::string>& body) {
    const Section* s = section(sectionName);
    if (!s) {
        lines_.push_back("[" + std::string(trim(sectionName)) + "]");
        lines_.insert(lines_.end(), body.begin(), body.end());
    } else {
        std::vector<std::string> old(lines_.begin() + static_cast<std::ptrdiff_t>(s->header + 1),
                                     lines_.begin() + static_cast<std::ptrdiff_t>(s->end));
        if (old == body) return false;
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(s->header + 1),
                     lines_.begin() + static_cast<std::ptrdiff_t>(s->end));
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(s->header + 1), body.begin(),
                      body.end());
    }
    reindex();
    return true;
}

std::string IniDocument::bytes() const {
    std::string out;
    for (const auto& line : lines_) {
        out += line;
        out += '\n';
    }
    return out;
}

}  // namespace profile
