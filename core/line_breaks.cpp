// The shared line-break strings and the line-break normaliser.
#include <algorithm>
#include <vector>

#include "core/text.h"

void TXT_CrLfInit() {
    gCR = "\r";
    gCRCR = gCR + gCR;
    gLF = "\n";
}

namespace {

// A text as character codes with each line break as one token. Breaks are kept apart
// from the characters, rather than encoded by a marker string, so that no character
// of the text can ever be mistaken for a break.
constexpr int kBreak = 256;
using Tokens = std::vector<int>;

Tokens pairsToBreaks(const Tokens& in, int first, int second) {
    Tokens out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] == first && i + 1 < in.size() && in[i + 1] == second) {
            out.push_back(kBreak);
            ++i;
        } else {
            out.push_back(in[i]);
        }
    }
    return out;
}

// CR LF pairs first, then LF CR pairs, then (when asked) the lone LFs and CRs.
Tokens breaksOf(std::string_view text, bool singleBreaks) {
    Tokens tokens;
    tokens.reserve(text.size());
    for (char c : text) tokens.push_back(static_cast<unsigned char>(c));
    tokens = pairsToBreaks(pairsToBreaks(tokens, '\r', '\n'), '\n', '\r');
    if (singleBreaks)
        std::replace_if(tokens.begin(), tokens.end(),
                        [](int t) { return t == '\n' || t == '\r'; }, kBreak);
    return tokens;
}

}  // namespace

std::string TXT_WrapText(std::string_view text, long maxBreaks, std::string_view filler,
                         bool singleBreaks, bool tabs) {
    if (text.empty()) return {};
    const Tokens tokens = breaksOf(text, singleBreaks);
    const std::string breakText = maxBreaks != 0 ? "\r\n" : std::string(filler);
    const size_t runLimit = size_t(std::max(1L, maxBreaks));
    auto isBlank = [tabs](int t) { return t == ' ' || (tabs && t == '\t'); };

    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    for (;;) {
        size_t lineEnd = size_t(std::find(tokens.begin() + long(pos), tokens.end(), kBreak) -
                                tokens.begin());
        if (lineEnd == tokens.size()) break;
        size_t runEnd = lineEnd + 1;
        while (runEnd < tokens.size() && runEnd - lineEnd < runLimit && tokens[runEnd] == kBreak)
            ++runEnd;
        // Blanks that begin the next line go before the break; breaks beyond the limit
        // become two fillers each.
        std::string collected;
        size_t next = runEnd;
        for (; next < tokens.size(); ++next) {
            if (isBlank(tokens[next]))
                collected += char(tokens[next]);
            else if (tokens[next] == kBreak)
                collected.append(filler).append(filler);
            else
                break;
        }
        for (size_t i = pos; i < lineEnd; ++i) out += char(tokens[i]);
        out += collected;
        for (size_t i = lineEnd; i < runEnd; ++i) out += breakText;
        pos = next;
    }
    for (size_t i = pos; i < tokens.size(); ++i) out += char(tokens[i]);
    return out;
}
