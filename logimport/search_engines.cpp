#include "logimport/search_engines.h"

#include "core/delimited_lists.h"
#include "core/stored_text.h"
#include "core/text.h"
#include "core/url_routines.h"
#include "platform/sys/ascii.h"

namespace logimport {
namespace {

// Escapes that the search-term standardisation would misread after a full decode:
// it turns "+" into a blank and decodes again.
constexpr const char* kKeepEncoded = "2B,25";


// Byte for byte, so positions in the copy are positions in the original.
void assignLower(std::string& out, std::string_view text) {
    out.assign(text);
    for (char& c : out) c = sys::asciiLower(c);
}

std::string trimBlanks(std::string_view s) { return std::string(core::trimBlanks(s)); }

// The parameter list is lower-cased before its flags are read, so "false" must
// count as False as well.
bool flagIsTrue(std::string_view value) {
    return SYS32_StrIsTrue(value) && core::lowerAscii(core::trimBlanks(value)) != "false";
}

void addSearchText(SEDef& def, std::string text) {
    for (const std::string& have : def.searchTexts) {
        if (have == text) return;
    }
    def.searchTexts.push_back(std::move(text));
}

// "::start::end::endRequired::decode::"; a value not closed by "::" is empty.
SEMarker parseMarker(std::string_view item) {
    std::string_view rest = item.substr(2);
    std::string values[4];
    for (std::string& value : values) {
        const size_t close = rest.find("::");
        if (close == std::string_view::npos) break;
        value = rest.substr(0, close);
        rest.remove_prefix(close + 2);
    }
    SEMarker marker{values[0], values[1], flagIsTrue(values[2])};
    if (flagIsTrue(values[3])) {
        HHTML_URLDecode(marker.start);
        HHTML_URLDecode(marker.end);
    }
    return marker;
}

// Where the term stands in the lower-cased referrer: [from, to).
bool termSpan(const SEDef& def, const std::string& lower, size_t& from, size_t& to) {
    for (const std::string& text : def.searchTexts) {
        const size_t at = lower.find(text);
        if (at == std::string::npos) continue;
        from = at + text.size();
        to = lower.find('&', from);
        if (to == std::string::npos) to = lower.size();
        return true;
    }
    for (const SEMarker& marker : def.markers) {
        const size_t at = lower.find(marker.start);
        if (at == std::string::npos) continue;
        from = at + marker.start.size();
        to = lower.find(marker.end, from);
        if (to == std::string::npos) {
            if (marker.endRequired) continue;
            to = lower.size();
        }
        return true;
    }
    return false;
}

}  // namespace

void splitDefinition(const std::string& definition, std::string& urlSpec, std::string& params) {
    const size_t space = definition.find(' ');
    if (space == std::string::npos) {
        urlSpec.clear();
        params = definition;
    } else {
        urlSpec = definition.substr(0, space);
        params = definition.substr(space + 1);
    }
}

void compileParams(const std::string& params, SEDef& def) {
    def.searchTexts.clear();
    def.markers.clear();
    const std::string list = core::lowerAscii(params);
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = list.find(',', start);
        if (comma == std::string::npos) comma = list.size();
        const std::string_view item = std::string_view(list).substr(start, comma - start);
        start = comma + 1;

        if (item.starts_with("::")) {
            def.markers.push_back(parseMarker(item));
            continue;
        }
        const std::string name = trimBlanks(item);
        // An empty name would make "=" a search text and take any parameter's value.
        if (name.empty()) continue;
        addSearchText(def, name + "=");
        // "?q" and "&q" stand for the parameter q in either place, never for "uniq".
        if (name[0] == '?') addSearchText(def, "&" + name.substr(1) + "=");
        if (name[0] == '&') addSearchText(def, "?" + name.substr(1) + "=");
    }
}

std::string engineNameOf(const std::string& urlSpec) {
    std::string_view s = urlSpec;
    // Any scheme counts, not only "http://", so that "https://" and "*://" specs
    // name their engine too.
    const size_t scheme = s.find("://");
    if (scheme != std::string_view::npos) s.remove_prefix(scheme + 3);
    if (s.starts_with("*.")) s.remove_prefix(2);
    const size_t dot = s.find('.');
    if (dot == std::string_view::npos) return {};
    return core::upperAscii(s.substr(0, dot));
}

bool isGeneralDomainSpec(const std::string& urlSpec) { return urlSpec.ends_with("*/*"); }

std::vector<std::string> generalDefinitionsFirst(const std::vector<std::string>& definitions) {
    std::vector<std::string> general, specific;
    std::string spec, params;
    for (const std::string& definition : definitions) {
        splitDefinition(definition, spec, params);
        (isGeneralDomainSpec(spec) ? general : specific).push_back(definition);
    }
    general.insert(general.end(), specific.begin(), specific.end());
    return general;
}

SEDefTables::SEDefTables(const std::vector<std::string>& definitions) {
    defs_.reserve(definitions.size());
    std::string spec, params;
    for (const std::string& definition : definitions) {
        splitDefinition(definition, spec, params);
        SEDef def;
        assignLower(def.urlSpec, spec);
        def.pattern = core::LikePattern(def.urlSpec);
        def.engineName = engineNameOf(def.urlSpec);
        compileParams(params, def);
        defs_.push_back(std::move(def));
    }
}

bool SEDefTables::recompileParams(size_t definitionNo, const std::string& params) {
    if (definitionNo >= defs_.size()) return false;
    compileParams(params, defs_[definitionNo]);
    return true;
}

SEMatch SEDefTables::extract(std::string_view referrer, core::StrArray* unmatched) const {
    SEMatch match;
    if (referrer.starts_with('"')) referrer.remove_prefix(1);
    if (referrer.empty()) return match;
    // Reused across calls: this runs for every visit of an import.
    thread_local std::string lower;
    assignLower(lower, referrer);

    for (size_t i = 0; i < defs_.size(); ++i) {
        const SEDef& def = defs_[i];
        if (!def.pattern.matches(lower)) continue;
        match.specMatched = true;
        size_t from = 0, to = 0;
        if (termSpan(def, lower, from, to)) {
            match.term.assign(referrer.substr(from, to - from));
            HHTML_URLDecode(match.term, kKeepEncoded);
            match.engine = def.engineName;
            match.found = true;
            match.definition = long(i);
            return match;
        }
        if (unmatched) STTA_SEDefUnmatchedAdd(std::string(referrer), *unmatched, long(i));
    }
    return match;
}

}  // namespace logimport

void STTA_SEDefUnmatchedAdd(const std::string& referrer, core::StrArray& unmatched,
                            long definitionNo) {
    constexpr size_t kListLimit = 10000;
    constexpr const char* kHaveMore = "Have More ...";
    if (definitionNo > unmatched.ubound()) unmatched.redimPreserve(definitionNo);
    std::string list = unmatched[definitionNo];
    if (list.size() >= kListLimit) {
        if (list.find(std::string("|") + kHaveMore) != std::string::npos) return;
        // Appended as an item, so that a list carrying an escape trailer keeps it.
        CHUNKS_Append(list, kHaveMore);
    } else {
        bool added = true;
        list = CHUNKS_InsertEx(list, referrer, "|", kChunksNoExclusion, 1, false, false, added);
        if (!added) return;
    }
    unmatched.set(definitionNo, std::move(list));
}
