#pragma once
// The HTML-to-text engine: one pass over each line splits a document into running
// text, tags, comments, scripts, styles, server blocks, URLs and e-mail addresses.
// It does not decode entities, add line breaks for tags or collapse white space: the
// running text is copied as it stands between the tags. A document may be given in one
// call or in several calls on the same records (the first with `initialise`, the last
// with `lastIsEnd`). Texts are bytes.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The item separator of the engine's lists: five bytes that valid UTF-8 never holds.
inline const std::string gHtmlListSep = "\xA0\xA5\xA4\xA5\xA0";

// The caller's settings; the engine only reads them.
struct HTMLGEN_Limits {
    std::string TagListSep;      // before each entry of the distinct tag-name list
    bool StripEndSlash = false;  // end tags enter the tag-name list without "/"
    int64_t MaxListLen = 0;      // a limited list past this length takes no more entries
    std::string WatchTag;        // upper-case tag whose full texts are collected; "" none
    bool WantText = false;
    bool WantTags = false;
    int64_t MaxTotal = 0;        // characters written to the result arrays before both stop
};

// Switches and per-document state. A list's "Off" flag closes it; the engine sets it
// once the list outgrows MaxListLen.
struct HTMLGEN_Options {
    bool TagNameListOff = false;
    bool WatchListOff = false;
    bool UrlListOff = false;
    bool MailListOff = false;
    bool Flag5 = false;
    bool BlocksOff = false;  // comments, scripts and styles
    bool WantTags = false;   // working copies of the limits, cleared past MaxTotal
    bool WantText = false;
    long Index = 0;          // current element of the result arrays
    bool SeenP = false, SeenB = false, SeenA = false, SeenI = false, SeenU = false, SeenBR = false,
         SeenHR = false, SeenLI = false, SeenTD = false, SeenTR = false;
    bool LastLine = false;
};

// Lists hold their entries each preceded by a separator; StatusText is "" after a clean run.
struct HTMLGEN_Status {
    std::string TagNames, WatchTexts, Urls, Mails, Comments, Scripts, Styles, StatusText;
};

// The scanner's position across lines and calls; a fresh one for each document.
struct HTMLGEN_ScanState {
    static constexpr int kSlots = 6;
    bool Initialised = false;
    std::string PrevLine;
    std::string EndMark;  // ends the block being skipped; "" when none
    std::array<int64_t, kSlots> Pos{};  // next occurrence of each slot's pattern, 0 none
    std::array<std::string, kSlots> Pat;
    std::array<bool, kSlots> Mode{};    // true: compared ignoring ASCII case
    int SlotOpen = 0, SlotHttp = 0, SlotWww = 0, SlotMail = 0, SlotClose = 0;  // 0 once dropped
    int CountInTag = 0, CountInText = 0, CountActive = 0;
    int64_t CaptureLeft = 0;
    bool InText = false;
    bool AfterOpen = false;
    bool WatchHit = false;
    int64_t Total = 0;
    std::string TagText, TagName, Carry;
};

// Row 1 lists the texts that end an e-mail address, row 2 those that end a URL. A
// missing row has no delimiters.
using HTMLGEN_Delimiters = std::vector<std::vector<std::string>>;
// Element 1 is 1 while an e-mail address is captured, element 2 is 2 while a URL is.
using HTMLGEN_CaptureStates = std::vector<long>;

// Scans `lines` in order. Result arrays keep element 0 empty: text element i holds the
// running text after the tag whose name and text are element i of the tag arrays,
// element 1 the text before the first tag. False when an append to a list failed; the
// status text then says how many.
bool HTMLGEN_Dissect(std::span<const std::string> lines, bool lastIsEnd, const HTMLGEN_Limits& limits,
                     HTMLGEN_Options& options, HTMLGEN_Status& status, HTMLGEN_ScanState& scan,
                     const HTMLGEN_Delimiters& delimiters, HTMLGEN_CaptureStates& captures,
                     std::vector<std::string>& text, std::vector<std::string>& tagNames,
                     std::vector<std::string>& tagTexts, bool initialise);

// True when a tag of the same kind (B, P, A, I, U, BR, HR, LI, TR, TD, with or without
// "/") was seen before; marks the kind.
bool HTMLGEN_TagSeen(const std::string& tagName, HTMLGEN_Options& options);

// The running text of a whole document, as the help display asks for it: text only,
// no lists, no limit. `ok` is false when the engine reported a failure.
std::string HTMLGEN_TextOf(const std::string& html, bool& ok);
