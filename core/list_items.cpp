#include "core/list_items.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "core/numbers.h"
#include "core/text.h"
#include "core/vb_format.h"

namespace core::detail {

namespace {

constexpr std::string_view kPlainMode = "Do not exclude any part";
constexpr std::string_view kTrailerMarker = "{{||{{";

std::string_view trimBlanks(std::string_view s) {
    std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string decodePair(std::string item, const std::string& pair, std::string_view to) {
    return pair.empty() ? item : TXT_Replace(item, pair, to, true);
}

// Items of a plain list up to item n.
std::vector<std::string> plainItems(std::string text, const std::string& delim, long n) {
    std::string pair;
    long k = static_cast<long>(text.size()) - static_cast<long>(kTrailerMarker.size()) - 1;
    if (k >= 1 && std::string_view(text).substr(k - 1, kTrailerMarker.size()) == kTrailerMarker) {
        pair = text.substr(text.size() - 2);
        text.resize(k - 1);
    }
    std::vector<std::string> items;
    std::size_t from = 0;
    while (static_cast<long>(items.size()) < n) {
        std::size_t p = text.find(delim, from);
        if (p == std::string::npos) {
            items.push_back(decodePair(text.substr(from), pair, delim));
            break;
        }
        items.push_back(decodePair(text.substr(from, p - from), pair, delim));
        from = p + delim.size();
    }
    return items;
}

// Items of a protected list up to item n; regions do not nest.
std::vector<std::string> protectedItems(std::string text, const std::string& delim,
                                        const std::string& spec, long n) {
    char open = '{', close = '}';
    if (spec.size() == 2 && spec[0] != ' ' && spec[1] != ' ' && spec[0] != spec[1]) {
        open = spec[0];
        close = spec[1];
    }
    std::string p1, p2;
    std::size_t len = text.size();
    if (len > 6 && text[len - 6] == open && text[len - 5] == open) {
        p1 = text.substr(len - 4, 2);
        p2 = text.substr(len - 2, 2);
        text.resize(len - 6);
    }
    auto decode = [&](std::string item) {
        if (p1.empty()) return item;
        return decodePair(decodePair(std::move(item), p1, std::string(1, open)), p2,
                          std::string(1, close));
    };
    std::vector<std::string> items;
    std::string rest = text;
    while (static_cast<long>(items.size()) < n) {
        std::string_view t = trimBlanks(rest);
        if (t.empty() || t.front() != open) {
            std::size_t p = rest.find(delim);
            if (p == std::string::npos) {
                items.push_back(decode(rest));
                break;
            }
            items.push_back(decode(rest.substr(0, p)));
            rest.erase(0, p + delim.size());
            continue;
        }
        if (rest.find(close) == std::string::npos) {
            rest.push_back(close);
            t = trimBlanks(rest);
        }
        items.push_back(decode(std::string(t.substr(1, t.find(close) - 1))));
        std::string remainder = rest.substr(rest.find(close) + 1);
        std::string_view r = trimBlanks(remainder);
        if (r.empty() || r.substr(0, delim.size()) != delim) break;
        rest = remainder.substr(remainder.find(delim) + delim.size());
    }
    return items;
}

}  // namespace

std::string listItem(long n, const std::string& delimiter, const std::string& exclusionSpec,
                     const std::string& list, const std::string& dflt) {
    if (n < 1) return dflt;
    if (list.empty()) return n == 1 ? std::string() : dflt;
    std::string delim = delimiter.empty() ? "|" : delimiter;
    std::vector<std::string> items = exclusionSpec == kPlainMode
                                         ? plainItems(list, delim, n)
                                         : protectedItems(list, delim, exclusionSpec, n);
    return static_cast<long>(items.size()) >= n ? items[n - 1] : dflt;
}

std::string listFormatNums(const std::string& indexList, const std::string& sourceList,
                           const std::string& delimiter, const std::string& exclusionSpec,
                           const std::string& formatList, const std::string& separator) {
    if (indexList.empty()) return {};
    const std::string plain(kPlainMode);
    const long count = static_cast<long>(std::count(indexList.begin(), indexList.end(), '|')) + 1;
    std::string out;
    for (long k = 1; k <= count; ++k) {
        long v = core::vbCLng(TXT_Val(listItem(k, "|", plain, indexList, "")));
        std::string s = listItem(v, delimiter, exclusionSpec, sourceList, "");
        std::string f = listItem(k, "|", plain, formatList, "");
        if (!f.empty())
            s = f.find_first_of("#0") != std::string::npos ? TXT_FormatDbl(TXT_Val(s), f)
                                                           : TXT_FormatStr(s, f);
        out += (k > 1 ? separator : std::string()) + s;
    }
    return out;
}

}  // namespace core::detail
