#include "help/html_to_text.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "core/text.h"
#include "help/html_scanner.h"
#include "core/url_routines.h"

namespace help_detail {
namespace {

constexpr int64_t kNoToken = 2147483647;
constexpr int kErrOutOfMemory = 7;
constexpr int kErrOutOfStringSpace = 14;

// The last n characters once trailing blanks are gone, padded with blanks in front
// when fewer are left.
std::string lastAfterBlanks(const std::string& text, std::size_t n) {
    const std::size_t end = text.find_last_not_of(' ');
    std::string kept = end == std::string::npos ? std::string() : text.substr(0, end + 1);
    if (kept.size() < n) kept.insert(0, n - kept.size(), ' ');
    return kept.substr(kept.size() - n);
}

}  // namespace

std::string HtmlScanner::lastErrorText() const {
    return lastError_ == kErrOutOfMemory ? "Out of memory" : "Out of string space";
}

void HtmlScanner::HTMLGEN_AppendText(const std::string& piece, std::string& target) {
    try {
        target += piece;
    } catch (const std::bad_alloc&) {
        ++failures_;
        lastError_ = kErrOutOfMemory;
    } catch (const std::length_error&) {
        ++failures_;
        lastError_ = kErrOutOfStringSpace;
    }
}

void HtmlScanner::HTMLGEN_AppendLimited(const std::string& piece, std::string& target, bool& full, int64_t maximum) {
    if (full) return;
    HTMLGEN_AppendText(piece, target);
    if (int64_t(target.size()) > maximum) full = true;
}

void HtmlScanner::HTMLGEN_AddUniqueLimited(std::string& list, std::string item, const std::string& separator, bool& full,
                                   int64_t maximum) {
    if (!separator.empty() && item.find(separator) != std::string::npos) {
        const std::string escaped = HTML_EscapeNonPrint(separator, false);
        item = TXT_Replace(item, separator, escaped == separator ? "" : escaped, true);
    }
    if (TXT_InStrEx(separator + list + separator, separator + item + separator, false)) return;
    HTMLGEN_AppendLimited(separator + item, list, full, maximum);
}

int64_t HtmlScanner::nextOf(int slot, int64_t from) const {
    if (slot <= 0 || scan_.Pat[slot].empty() || from > int64_t(line_->size())) return 0;
    long position = 0;
    TXT_InStrEx(*line_, scan_.Pat[slot], !scan_.Mode[slot], long(from), core::kNoEnd, position);
    return position;
}

void HtmlScanner::HTMLGEN_InitPatterns() {
    scan_.Pat = {"", "<", "http:", "www.", "@", ">"};
    scan_.Mode = {false, false, true, true, false, false};
    scan_.SlotOpen = 1;
    scan_.SlotHttp = 2;
    scan_.SlotWww = 3;
    scan_.SlotMail = 4;
    scan_.SlotClose = 5;
    scan_.CountInTag = 5;
    scan_.CountInText = 4;
    scan_.CountActive = 4;
    scan_.Pos[0] = kNoToken;
    scan_.Initialised = true;
}

void HtmlScanner::HTMLGEN_AddToResult(const std::string& piece, std::vector<std::string>& target) {
    const auto index = std::size_t(options_.Index);
    if (index >= target.size()) {
        // Grows to twice its upper bound, and never short of the index.
        const std::size_t upper = target.empty() ? 0 : target.size() - 1;
        target.resize(std::max(2 * upper, index) + 1);
    }
    target[index] += piece;
    scan_.Total += int64_t(piece.size());
    if (scan_.Total > limits_.MaxTotal) {
        options_.WantText = false;
        options_.WantTags = false;
    }
}

void HtmlScanner::emitTag() {
    // A document that ends in running text has no tag left to emit.
    if (scan_.TagText.empty()) return;
    if (scan_.WatchHit) {
        HTMLGEN_AddUniqueLimited(status_.WatchTexts, scan_.TagText, gHtmlListSep, options_.WatchListOff, limits_.MaxListLen);
        scan_.WatchHit = false;
    }
    if (options_.WantTags) {
        ++options_.Index;
        HTMLGEN_AddToResult(scan_.TagText, tagTexts_);
        HTMLGEN_AddToResult(scan_.TagName, tagNames_);
    }
    scan_.TagText.clear();
}

void HtmlScanner::tagHead(const std::string& segment, const std::string& token, const std::string& tokenText,
                          int64_t p, bool& opening, bool& closing) {
    const bool atClose = token == scan_.Pat[scan_.SlotClose];
    if (TXT_StartsWith(segment, "!--", true)) {
        scan_.EndMark = ">";
        scan_.TagName = "!--";
        opening = atClose && lastAfterBlanks(segment, 2) == "--";
        closing = false;
    } else {
        scan_.TagName = core::upperAscii(
            HTML_TextBefore(HTML_TextBefore(HTML_TextBefore(segment, " "), "\r"), "\n"));
        if (scan_.TagName == "SCRIPT" || scan_.TagName == "STYLE") {
            scan_.EndMark = "</" + scan_.TagName + ">";
            opening = closing = false;
        }
        if (TXT_StartsWith(scan_.TagName, "%", true)) {
            if (atClose && lastAfterBlanks(segment, 1) == "%") {
                HTMLGEN_AppendLimited(gHtmlListSep + scan_.TagText + segment + tokenText, status_.Scripts, options_.BlocksOff,
                              limits_.MaxListLen);
            } else {
                scan_.EndMark = "%>";
                opening = closing = false;
            }
        }
        if (!(options_.TagNameListOff && options_.WatchListOff) && !HTMLGEN_TagSeen(scan_.TagName, options_)) {
            const char first = scan_.TagName.empty() ? ' ' : scan_.TagName[0];
            bool isEnd = false;
            if (first == '/' && limits_.StripEndSlash) {
                isEnd = true;
                scan_.TagName.erase(0, 1);
            }
            if (first != '!')
                HTMLGEN_AddUniqueLimited(status_.TagNames, scan_.TagName, limits_.TagListSep, options_.TagNameListOff,
                                 limits_.MaxListLen);
            else
                HTMLGEN_AppendLimited(gHtmlListSep + scan_.TagText + segment + tokenText, status_.Comments, options_.BlocksOff,
                              limits_.MaxListLen);
            if (!isEnd && !limits_.WatchTag.empty() && scan_.TagName == limits_.WatchTag && !options_.WatchListOff)
                scan_.WatchHit = true;
        }
    }
    if (!scan_.EndMark.empty()) {
        // While a block is skipped its end mark takes the place of "<".
        scan_.Pat[scan_.SlotOpen] = scan_.EndMark;
        scan_.Mode[scan_.SlotOpen] = true;
        scan_.Pos[scan_.SlotOpen] = nextOf(scan_.SlotOpen, p + 1);
        scan_.CountActive = scan_.CountInText;
    }
}

void HtmlScanner::endMarkCheck(const std::string& segment, const std::string& token, int64_t p, bool& opening,
                               bool& closing) {
    bool ends = true;
    const std::string entry = gHtmlListSep + scan_.TagText;
    if (scan_.EndMark == ">") {
        ends = lastAfterBlanks(segment, 2) == "--";
        if (ends) HTMLGEN_AppendLimited(entry, status_.Comments, options_.BlocksOff, limits_.MaxListLen);
    } else if (scan_.EndMark == "</STYLE>") {
        HTMLGEN_AppendLimited(entry, status_.Styles, options_.BlocksOff, limits_.MaxListLen);
    } else {
        HTMLGEN_AppendLimited(entry, status_.Scripts, options_.BlocksOff, limits_.MaxListLen);
    }
    if (!ends) {
        opening = closing = false;
        return;
    }
    scan_.EndMark.clear();
    scan_.Pat[scan_.SlotOpen] = "<";
    scan_.Mode[scan_.SlotOpen] = false;
    scan_.Pos[scan_.SlotOpen] = nextOf(scan_.SlotOpen, p + 1);
    opening = false;
    closing = true;
}

void HtmlScanner::HTMLGEN_FullScan(const std::string& line) {
    line_ = &line;
    const auto length = int64_t(line.size());
    captures_.resize(std::max<std::size_t>(delimiters_.size(), 3), 0);

    auto& pos = scan_.Pos;
    for (int s = 1; s < HTMLGEN_ScanState::kSlots; ++s) pos[s] = 0;
    auto look = [&](int slot) {
        if (slot > 0) pos[slot] = nextOf(slot, 1);
    };
    look(scan_.SlotClose);
    look(scan_.SlotOpen);
    if (!options_.MailListOff) look(scan_.SlotMail);
    if (!options_.UrlListOff) {
        look(scan_.SlotHttp);
        look(scan_.SlotWww);
    }

    std::string token = " ";
    int64_t p = 0;
    int64_t start = 1;
    for (;;) {
        start = p + int64_t(token.size());
        int best = 0;
        for (int s = 1; s <= scan_.CountActive; ++s)
            if (pos[s] != 0 && pos[s] < pos[best]) best = s;
        if (pos[best] == kNoToken) {
            // The end of the document closes whatever is open, and flushes text carried
            // into an empty last line.
            if (!options_.LastLine || (start > length && scan_.Carry.empty())) break;
            best = scan_.SlotClose;
            pos[best] = length + 1;
            scan_.Pat[best].clear();
        }
        p = pos[best];
        token = scan_.Pat[best];
        pos[best] = nextOf(best, p + 1);
        // Patterns that ignore case compare as patterns, but what is kept is the text
        // as the document writes it.
        const std::string tokenText = line.substr(std::size_t(std::min(p - 1, length)), token.size());
        const bool isWww = best == scan_.SlotWww;
        const bool isHttp = best == scan_.SlotHttp;
        const bool isMail = best == scan_.SlotMail;

        const bool carried = !scan_.Carry.empty();
        std::string segment = std::move(scan_.Carry);
        scan_.Carry.clear();
        if (start <= length && p > start) segment.append(line, std::size_t(start - 1), std::size_t(p - start));

        bool opening = best == scan_.SlotOpen;
        bool closing = best == scan_.SlotClose;
        if (scan_.AfterOpen) {
            scan_.AfterOpen = false;
            tagHead(segment, token, tokenText, p, opening, closing);
        }
        if (!scan_.InText) scan_.TagText += segment + tokenText;
        else if (options_.WantText) HTMLGEN_AddToResult(segment, text_);
        if (scan_.CaptureLeft != 0) captureContinue(segment, tokenText, isWww);
        if (closing) {
            // A ">" inside an attribute value that is still open does not close the tag.
            const std::size_t q = scan_.TagText.rfind('"');
            if (q != std::string::npos && q >= 1 && scan_.TagText[q - 1] == '=') closing = false;
        }
        if (!closing && opening && !scan_.EndMark.empty() && token == scan_.EndMark)
            endMarkCheck(segment, token, p, opening, closing);

        if (opening) {
            scan_.CountActive = scan_.CountInTag;
            if (pos[scan_.SlotClose] < p) pos[scan_.SlotClose] = nextOf(scan_.SlotClose, p + 1);
            scan_.AfterOpen = true;
            if (!scan_.TagText.empty()) emitTag();  // a tag left open
            scan_.TagText = scan_.Pat[scan_.SlotOpen];
            scan_.InText = false;
        } else if (closing) {
            scan_.CountActive = scan_.CountInText;
            scan_.InText = true;
            emitTag();
        } else {
            if (scan_.InText && options_.WantText) HTMLGEN_AddToResult(tokenText, text_);
            if (isHttp || isWww) urlStart(tokenText);
            else if (isMail) mailStart(tokenText, segment, start == 1 && !carried);
        }
    }
    if (start <= length) scan_.Carry += line.substr(std::size_t(start - 1));
}

}  // namespace help_detail

bool HTMLGEN_TagSeen(const std::string& tagName, HTMLGEN_Options& options) {
    if (tagName.size() > 3) return false;
    std::string name = tagName;
    if (!name.empty() && name[0] == '/') TXT_DropLeftV(name, 1);
    struct Kind {
        const char* name;
        bool HTMLGEN_Options::*seen;
    };
    static const Kind kinds[] = {
        {"P", &HTMLGEN_Options::SeenP},   {"B", &HTMLGEN_Options::SeenB},   {"A", &HTMLGEN_Options::SeenA},
        {"I", &HTMLGEN_Options::SeenI},   {"U", &HTMLGEN_Options::SeenU},   {"BR", &HTMLGEN_Options::SeenBR},
        {"HR", &HTMLGEN_Options::SeenHR}, {"LI", &HTMLGEN_Options::SeenLI}, {"TD", &HTMLGEN_Options::SeenTD},
        {"TR", &HTMLGEN_Options::SeenTR},
    };
    for (const Kind& k : kinds)
        if (name == k.name) {
            const bool before = options.*k.seen;
            options.*k.seen = true;
            return before;
        }
    return false;
}

bool HTMLGEN_Dissect(std::span<const std::string> lines, bool lastIsEnd, const HTMLGEN_Limits& limits,
                     HTMLGEN_Options& options, HTMLGEN_Status& status, HTMLGEN_ScanState& scan,
                     const HTMLGEN_Delimiters& delimiters, HTMLGEN_CaptureStates& captures,
                     std::vector<std::string>& text, std::vector<std::string>& tagNames,
                     std::vector<std::string>& tagTexts, bool initialise) {
    help_detail::HtmlScanner scanner(limits, options, status, scan, delimiters, captures, text, tagNames, tagTexts);
    status.StatusText.clear();
    if (initialise) {
        scan.Total = 0;
        options.WantTags = limits.WantTags;
        options.WantText = limits.WantText;
        scan.InText = true;
        const std::size_t size = limits.WantTags ? 101 : 2;
        text.assign(size, {});
        if (limits.WantTags) {
            tagNames.assign(size, {});
            tagTexts.assign(size, {});
        }
        scan.Initialised = false;
        // Only a new document starts at element 1: a later call appends after the
        // elements the earlier ones filled.
        options.Index = 1;
    }
    if (options.Index < 1) options.Index = 1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        options.LastLine = i + 1 == lines.size() && lastIsEnd;
        if (!scan.Initialised) scanner.HTMLGEN_InitPatterns();
        scanner.HTMLGEN_FullScan(lines[i]);
        scan.PrevLine = lines[i];
    }
    if (scanner.failures() == 0) return true;
    status.StatusText = std::to_string(scanner.failures()) +
                        " errors when analysing html. Last error: " + scanner.lastErrorText();
    return false;
}

std::string HTMLGEN_TextOf(const std::string& html, bool& ok) {
    HTMLGEN_Limits limits;
    limits.WantText = true;
    limits.MaxTotal = 2147483647;  // no limit
    HTMLGEN_Options options;
    HTML_OptionsDefault(options);
    HTMLGEN_Status status;
    HTMLGEN_ScanState scan;
    HTMLGEN_CaptureStates captures;
    std::vector<std::string> text, tagNames, tagTexts;
    const std::string lines[] = {html};
    ok = HTMLGEN_Dissect(lines, true, limits, options, status, scan, HTMLGEN_Delimiters(1), captures, text,
                         tagNames, tagTexts, true);
    std::string all;
    for (std::size_t i = 1; i < text.size(); ++i) all += text[i];
    return all;
}
