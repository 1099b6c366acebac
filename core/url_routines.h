#pragma once
// Small stateless text routines for URLs and HTML: percent decoding, cutting a URL
// into its parts and joining them again, file URLs, the text before a delimiter, and
// character references. Texts are bytes; characters above 127 that these routines
// make are written as UTF-8.
#include <string>
#include <type_traits>

// Decodes each "%" followed by two hex digits, in place, and returns the text. A "%"
// before anything else stays as it is. An escape whose two digits occur in `skip`
// (ASCII case ignored, e.g. "2B,25") stays encoded. A decoded "%" is never decoded
// again.
std::string& HHTML_URLDecode(std::string& text, const std::string& skip = {});

// The url without its fragment; `fragment` gets the text after the first "#".
std::string HHTML_CutFragment(const std::string& url, std::string& fragment);

// Cuts scheme://host/path;params?query#fragment into its parts; a part the url lacks
// is empty, and the path has no leading "/".
void HHTML_SplitURL(const std::string& url, std::string& scheme, std::string& host,
                    std::string& path, std::string& params, std::string& query,
                    std::string& fragment);

// Always scheme://host/path, then ";params", "?query" and "#fragment" when not empty.
std::string HHTML_JoinURL(const std::string& scheme, const std::string& host,
                          const std::string& path, const std::string& params,
                          const std::string& query, const std::string& fragment);

// A percent-encoded "file://" URL for an absolute path; any other text unchanged.
std::string HHTML_PathToFileURL(const std::string& path);

// The text before the first occurrence of the delimiter; all of it when none.
std::string HTML_TextBefore(const std::string& text, const std::string& delimiter);

// Writes each control character (and each C1 control) as "&#" and its decimal code,
// without a ";"; CR and LF stay when `keepBreaks` is set. UTF-8 sequences are kept
// whole; other bytes above 127 count as Latin-1.
std::string HTML_EscapeNonPrint(const std::string& text, bool keepBreaks);

// Decodes numeric references (0-255, decimal or "x" hex, with an optional ";") and
// the named references the help pages use, in one left-to-right scan: what a
// reference turns into is never read again, so "&amp;lt;" gives "&lt;". A numeric
// reference out of range stays as it is (and is reported when `showMessages`); an
// unknown name becomes "???name???".
std::string HTML_DecodeEntities(const std::string& text, bool showMessages);

// Sets the first five flags of the HTML-to-text engine's options record True (-1),
// which closes its tag-name, watched-tag, URL and e-mail lists.
template <class Options>
void HTML_OptionsDefault(Options& options) {
    auto setTrue = [](auto& flag) { flag = static_cast<std::remove_cvref_t<decltype(flag)>>(-1); };
    setTrue(options.TagNameListOff);
    setTrue(options.WatchListOff);
    setTrue(options.UrlListOff);
    setTrue(options.MailListOff);
    setTrue(options.Flag5);
}
