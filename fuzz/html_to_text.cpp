// The HTML-to-text engine over any page, cut into lines at line feeds: the running
// text is the page's own characters in their order (an ordered subsequence of the
// lines), and one call on all lines gives what one call per line gives, with every
// list and limit as the input's first byte sets them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/url_routines.h"
#include "help/html_to_text.h"

namespace {

struct Run {
    HTMLGEN_Limits limits;
    HTMLGEN_Options options;
    HTMLGEN_Status status;
    HTMLGEN_ScanState scan;
    HTMLGEN_Delimiters delimiters{{}, {" ", "\"", ">", "<", ","}, {" ", "\"", "'", ">", "<", ")"}};
    HTMLGEN_CaptureStates captures;
    std::vector<std::string> text, tagNames, tagTexts;
    bool ok = true;

    explicit Run(std::uint8_t setting) {
        limits.WantText = true;
        limits.WantTags = setting & 1;
        limits.StripEndSlash = setting & 2;
        limits.TagListSep = ",";
        limits.MaxListLen = (setting & 4) ? 40 : 100000;
        limits.MaxTotal = (setting & 8) ? 25 : 2147483647;
        limits.WatchTag = (setting & 16) ? "A" : "";
        HTML_OptionsDefault(options);
        if (setting & 32) {  // every list open
            options.TagNameListOff = options.WatchListOff = options.UrlListOff = options.MailListOff = false;
            options.BlocksOff = false;
        }
    }
    void scanLines(const std::vector<std::string>& lines, bool initialise, bool last) {
        ok = HTMLGEN_Dissect(lines, last, limits, options, status, scan, delimiters, captures, text, tagNames,
                             tagTexts, initialise) &&
             ok;
    }
    std::string allText() const {
        std::string all;
        for (std::size_t i = 1; i < text.size(); ++i) all += text[i];
        return all;
    }
};

bool isOrderedSubsequence(std::string_view part, std::string_view whole) {
    std::size_t at = 0;
    for (char c : part) {
        at = whole.find(c, at);
        if (at == std::string_view::npos) return false;
        ++at;
    }
    return true;
}

// The filled elements: the arrays may be sized ahead.
std::vector<std::string> filled(std::vector<std::string> items) {
    while (!items.empty() && items.back().empty()) items.pop_back();
    return items;
}

bool sameStatus(const HTMLGEN_Status& a, const HTMLGEN_Status& b) {
    return a.TagNames == b.TagNames && a.WatchTexts == b.WatchTexts && a.Urls == b.Urls && a.Mails == b.Mails &&
           a.Comments == b.Comments && a.Scripts == b.Scripts && a.Styles == b.Styles &&
           a.StatusText == b.StatusText;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::uint8_t setting = data[0];
    const std::string page(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<std::string> lines;
    std::string joined;
    for (std::size_t start = 0;;) {
        const std::size_t end = page.find('\n', start);
        lines.push_back(page.substr(start, end == std::string::npos ? std::string::npos : end - start));
        joined += lines.back();
        if (end == std::string::npos) break;
        start = end + 1;
    }
    Run once(setting);
    once.scanLines(lines, true, true);
    if (!isOrderedSubsequence(once.allText(), joined)) __builtin_trap();

    Run each(setting);
    for (std::size_t i = 0; i < lines.size(); ++i) each.scanLines({lines[i]}, i == 0, i + 1 == lines.size());
    if (filled(each.text) != filled(once.text) || filled(each.tagNames) != filled(once.tagNames) ||
        filled(each.tagTexts) != filled(once.tagTexts) ||
        each.ok != once.ok || !sameStatus(each.status, once.status))
        __builtin_trap();
    return 0;
}
