#pragma once
// Search-engine referrer definitions: which referrers come from a search engine, and
// where the search term stands in them. A definition is "urlspec params": a Like
// pattern over the lower-cased referrer, a space, and a comma list of query parameter
// names ("q", "?q" for the whole parameter only) or marker items
// ("::start::end::endRequired::decode::"). Definitions are compiled once; matching a
// referrer then costs one pattern match per definition and plain substring searches.
#include <string>
#include <string_view>
#include <vector>

#include "core/like_pattern.h"
#include "core/typed_array.h"

namespace logimport {

// The term stands after `start` and before `end` (or runs to the end of the referrer
// when `end` is missing and not required).
struct SEMarker {
    std::string start;
    std::string end;
    bool endRequired = false;
};

// One compiled definition.
struct SEDef {
    std::string urlSpec;  // lower-cased
    core::LikePattern pattern;
    std::vector<std::string> searchTexts;  // "q=", "?q=", "&q=": tried in this order
    std::vector<SEMarker> markers;         // tried when no search text occurs
    std::string engineName;
};

// What one referrer gave.
struct SEMatch {
    std::string engine;        // empty unless a term was found
    std::string term;          // decoded, except "%2B" and "%25" (see extract)
    bool found = false;        // a definition gave a term (an empty one counts)
    bool specMatched = false;  // some definition's URL spec matched
    long definition = -1;      // the definition that gave the term
};

// The compiled tables of all definitions, in stored order; the first definition that
// yields a term wins.
class SEDefTables {
public:
    SEDefTables() = default;
    // Throws sys::RtError 93 naming a URL spec that is not a valid pattern.
    explicit SEDefTables(const std::vector<std::string>& definitions);

    const std::vector<SEDef>& defs() const { return defs_; }

    // Compiles a new parameter list into one definition; false when there is none.
    bool recompileParams(size_t definitionNo, const std::string& params);

    // Recognises the engine and takes the term. A term is the raw text after the
    // parameter up to the next "&" (or between the markers), then URL-decoded, so an
    // encoded "&" stays in the term. "%2B" and "%25" stay encoded and "+" stays, so
    // that the later standardisation ("+" to blank, then decoding) reads them right.
    // With `unmatched`, each referrer that matched a URL spec but gave no term is
    // listed under that definition.
    SEMatch extract(std::string_view referrer, core::StrArray* unmatched = nullptr) const;

private:
    std::vector<SEDef> defs_;
};

// "spec params" cut at the first space; without a space its spec is empty and the
// whole text is the parameter list.
void splitDefinition(const std::string& definition, std::string& urlSpec, std::string& params);

// Fills the search texts and marker items of a definition from its parameter list.
void compileParams(const std::string& params, SEDef& def);

// The engine name a URL spec stands for: "*.finder.*/*" gives "FINDER".
std::string engineNameOf(const std::string& urlSpec);

// A spec ending in "*/*" covers many domains of one engine.
bool isGeneralDomainSpec(const std::string& urlSpec);

// The definitions in the order the re-sequencing stores them: all general-domain
// ones, then all specific-domain ones, each group in its given order.
std::vector<std::string> generalDefinitionsFirst(const std::vector<std::string>& definitions);

}  // namespace logimport

// Adds the referrer once to the "|" list in element `definitionNo` (made when
// missing), until the list reaches 10,000 characters; then "|Have More ..." is
// appended once.
void STTA_SEDefUnmatchedAdd(const std::string& referrer, core::StrArray& unmatched,
                            long definitionNo);
