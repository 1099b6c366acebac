#pragma once
// The small string routines the whole program uses in place of the bare primitives.
// A character is a byte; positions are 1-based; "ignoring case" folds ASCII letters
// only, never through the locale. Every routine that compares text takes a case flag:
// true compares exactly, false ignores case. An empty find text is never found.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The shared line-break strings: empty until TXT_CrLfInit runs at start-up (the INI
// store refuses to write before that).
inline std::string gCR;    // CR
inline std::string gCRCR;  // CR CR, the paragraph break inside messages
inline std::string gLF;    // LF

namespace core {

// "No end position" and "no length" for the routines that take positions.
inline constexpr long kNoEnd = -2147483647L;
inline constexpr long kNoLength = 2147483647L;

std::string lowerAscii(std::string_view text);
// The text without leading and trailing blanks.
std::string_view trimBlanks(std::string_view text);
std::string upperAscii(std::string_view text);
// Text order with ASCII case folded, equal texts kept in their order: the order a
// sorted list keeps.
void sortIgnoringCase(std::vector<std::string>& texts);
// The positions of the texts in that order (descending: largest first, equal texts
// still in their order).
std::vector<std::size_t> orderIgnoringCase(const std::vector<std::string>& texts, bool descending = false);

}  // namespace core

// Comparison and search
int TXT_CompareMode(bool caseSensitive);  // 0 binary, 1 text
bool TXT_IsEqual(std::string_view a, std::string_view b, bool caseSensitive);
bool TXT_StartsWith(std::string_view text, std::string_view prefix, bool caseSensitive);
// Leading blanks of the text are skipped first when `trim` is set.
bool TXT_StartsWithTrim(std::string_view text, std::string_view prefix, bool caseSensitive,
                        bool trim);
bool TXT_EndsWith(std::string_view text, std::string_view suffix, bool caseSensitive);
// Looks in the text from `start` to `endPos` (core::kNoEnd: to the end); `position` is
// counted in the whole text, 0 when not found. A start below 1 raises error 5.
bool TXT_InStrEx(std::string_view text, std::string_view find, bool caseSensitive, long start,
                 long endPos, long& position);
bool TXT_InStrEx(std::string_view text, std::string_view find, bool caseSensitive,
                 long start = 1, long endPos = core::kNoEnd);
// Overlapping matches count: "aa" occurs 3 times in "aaaa".
long TXT_CountOf(std::string_view text, std::string_view find, bool caseSensitive);

// Cutting and extracting
// With length core::kNoLength and an end position, the part from start to end.
// A start below 1 raises error 5.
std::string TXT_MidSafe(std::string_view text, long start, long length = core::kNoLength,
                        long endPos = core::kNoEnd);
// Cuts to at most `maximum` characters, marking a cut with the suffix; a text is cut
// whenever it does not fit the room the suffix leaves. A cut never splits a UTF-8
// sequence.
std::string TXT_FitLen(std::string_view text, long maximum, std::string_view suffix, bool& cut);
std::string TXT_FitLen(std::string_view text, long maximum, std::string_view suffix = {});
// The end of a text that is too long, behind the prefix (".../path/file"); the kept
// end never starts inside a UTF-8 sequence.
std::string TXT_RightWithPrefix(std::string_view text, long maximum, std::string_view prefix);
std::string TXT_DropLeft(std::string_view text, long n);
std::string TXT_DropRight(std::string_view text, long n);
void TXT_DropLeftV(std::string& text, long n);
void TXT_DropRightV(std::string& text, long n);
// Found: head = the part before the first delimiter, text = the part after it, and
// `match` the delimiter as it stands in the text. Not found: head empty, text kept,
// notFound set (and otherwise left as the caller set it).
void TXT_SplitFirst(std::string& text, std::string_view delimiter, std::string& head,
                    bool caseSensitive, bool& notFound);
void TXT_SplitFirst(std::string& text, std::string_view delimiter, std::string& head,
                    bool caseSensitive, bool& notFound, bool wantMatch, std::string& match);
std::string TXT_SplitFirstS(std::string_view text, std::string_view delimiter,
                            bool caseSensitive);
std::string TXT_SplitFirstV(std::string_view text, std::string_view delimiter,
                            bool caseSensitive);
// Found: tail = the part after the last delimiter, text = the part before it, found set.
// Not found: tail empty; text and found unchanged.
void TXT_SplitLast(std::string& text, std::string_view delimiter, std::string& tail,
                   bool caseSensitive, bool& found);
// The part after the last delimiter, `before` the part before it; both the whole text
// when there is no delimiter.
std::string TXT_AfterLast(std::string_view text, std::string_view delimiter, bool caseSensitive,
                          std::string& before);
std::string TXT_AfterLast(std::string_view text, std::string_view delimiter, bool caseSensitive);

// Building and changing
// Unchanged when find is empty or equals the replacement under the case flag.
std::string TXT_Replace(std::string_view text, std::string_view find,
                        std::string_view replacement, bool caseSensitive);
// Replaces each non-empty finds[k] that occurs by replacements[k] and then sets
// `changed`; a missing replacement raises error 9.
std::string TXT_ReplaceEach(std::string_view text, const std::vector<std::string>& finds,
                            const std::vector<std::string>& replacements, bool caseSensitive,
                            bool& changed);
// Also removes occurrences that a removal forms ("a(())b" less "()" is "ab").
std::string TXT_RemoveChar(std::string_view text, std::string_view find, bool caseSensitive);
std::string TXT_RemoveAmpV(std::string_view text);  // a caption without its access keys
void TXT_ReplaceCrLf(std::string& text);              // drops every CR and LF
// Strips the "|"-listed suffixes from the end until none matches ("boxes" less "s|es"
// is "boxe"); empty suffixes are ignored.
void TXT_StripSuffixes(std::string& text, std::string_view suffixList, bool caseSensitive);
void TXT_EnsureSuffix(std::string& text, std::string_view suffix, bool rightTrim,
                      bool caseSensitive);
// Wraps the text in double quotes when it holds `character` (a blank for command lines).
void TXT_QuoteIfSpace(std::string& text, std::string_view character, bool caseSensitive);
// Marks the first occurrence of the key (case ignored) as the access key, else puts
// "&key" in front; `caption` is left holding the part after the key.
std::string TXT_AccelCaption(std::string& caption, std::string_view key);
void TXT_AppendWithBar(std::string_view item, std::string& text);  // "text| item"
void TXT_LastBarToAnd(std::string& text);                           // last "|" -> " and"
// False, with the target unchanged, when the text cannot be built.
bool TXT_ConcatSafe(std::string_view text, std::string& target, bool atFront);
std::string TXT_Repeat(std::string_view text, int count);
// Returns what was built when memory runs out before `count` copies.
std::string TXT_RepeatSafe(std::string_view text, long count);
std::string TXT_ProperCase(std::string_view text);
// Trims, lower-cases, upper-cases as asked, then wraps a non-empty result in prefix and
// suffix; an empty result gives `textForEmpty`.
std::string TXT_Normalize(std::string_view text, std::string_view textForEmpty, bool trim,
                          bool lower, bool upper, std::string_view prefix,
                          std::string_view suffix);
void TXT_ClipboardSet(const std::string& text);

// Characters
bool TXT_IsAlnum(std::string_view character, bool digits);
// A table name: letters, digits and "_" only, and not empty (the name goes into SQL).
bool TXT_IsWordChars(std::string_view text);
// The first string of `width` characters (1, 2, or 3 for any other value) with codes from
// `startCode` to 254, the first character varying slowest, that holds neither excluded
// code, does not occur in the text and, when `accept` is given, is accepted by it.
// Users of an escape pass `accept` to insist that their encode/decode round trip is
// exact, since a candidate can fuse with neighbouring text ("a!" then "!!"). Error 9910
// when no candidate is left.
std::string TXT_UnusedCharFind(std::string_view text, int width, int excludedCode1,
                               int excludedCode2, int startCode,
                               const std::function<bool(const std::string&)>& accept = {});
void TXT_CrLfInit();
// Normalises line breaks: at most `maxBreaks` breaks in a row (0 joins the lines with
// the filler), blanks (and tabs with `tabs`) that begin a line move to the end of the
// previous line, and every break is written CR LF. With `singleBreaks` a lone CR or LF
// is a break too.
std::string TXT_WrapText(std::string_view text, long maxBreaks, std::string_view filler,
                         bool singleBreaks, bool tabs);
