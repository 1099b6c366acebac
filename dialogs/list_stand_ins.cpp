#include "dialogs/list_stand_ins.h"

#include "core/text.h"

namespace dlg::stand_in {

namespace {

constexpr std::string_view kMarker = "{{||{{";

std::string trimBlanks(std::string_view text) {
    std::size_t a = text.find_first_not_of(' ');
    if (a == std::string_view::npos) return {};
    std::size_t b = text.find_last_not_of(' ');
    return std::string(text.substr(a, b - a + 1));
}

}  // namespace

std::vector<std::string> splitPlain(std::string_view text, std::string_view delimiter) {
    if (text.empty()) return {std::string()};
    if (delimiter.empty()) delimiter = "|";
    std::string pair;
    long k = static_cast<long>(text.size()) - static_cast<long>(kMarker.size()) - 1;
    if (k >= 1 && text.substr(static_cast<std::size_t>(k - 1), kMarker.size()) == kMarker) {
        pair = std::string(text.substr(text.size() - 2));
        text = text.substr(0, static_cast<std::size_t>(k - 1));
    }
    std::vector<std::string> items;
    std::size_t start = 0;
    for (;;) {
        std::size_t at = text.find(delimiter, start);
        std::string_view part =
            text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start);
        items.push_back(pair.empty() ? std::string(part)
                                     : TXT_Replace(part, pair, delimiter, true));
        if (at == std::string_view::npos) break;
        start = at + delimiter.size();
    }
    return items;
}

std::vector<std::string> splitProtected(std::string_view text) {
    if (text.empty()) return {std::string()};
    std::string p1, p2;
    if (text.size() > 6 && text.substr(text.size() - 6, 2) == "{{") {
        p1 = std::string(text.substr(text.size() - 4, 2));
        p2 = std::string(text.substr(text.size() - 2, 2));
        text = text.substr(0, text.size() - 6);
    }
    std::vector<std::string> items;
    std::string rest(text);
    for (;;) {
        std::string t = trimBlanks(rest);
        std::string item;
        bool last = false;
        if (t.empty() || t.front() != '{') {
            std::size_t bar = rest.find('|');
            item = rest.substr(0, bar);
            if (bar == std::string::npos) last = true;
            else rest = rest.substr(bar + 1);
        } else {
            if (rest.find('}') == std::string::npos) {
                rest += '}';
                t += '}';
            }
            item = t.substr(1, t.find('}') - 1);
            std::string remainder = rest.substr(rest.find('}') + 1);
            std::string trimmed = trimBlanks(remainder);
            if (trimmed.empty() || trimmed.front() != '|') last = true;
            else rest = remainder.substr(remainder.find('|') + 1);
        }
        if (!p1.empty()) item = TXT_Replace(TXT_Replace(item, p1, "{", true), p2, "}", true);
        items.push_back(std::move(item));
        if (last) break;
    }
    return items;
}

long countItems(std::string_view list) {
    if (list.empty()) return 0;
    long bars = 0;
    for (char c : list)
        if (c == '|') ++bars;
    return bars + 1;
}

void setItem(long n, std::string& list, std::string_view delimiter, std::string_view value) {
    if (n < 1) return;
    std::vector<std::string> items = splitPlain(list, delimiter);
    if (static_cast<long>(items.size()) < n) items.resize(static_cast<std::size_t>(n));
    items[static_cast<std::size_t>(n - 1)] = value;
    std::string joined;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) joined += delimiter;
        joined += items[i];
    }
    list = joined;
}

bool strIsTrue(std::string_view text) {
    std::string t = trimBlanks(text);
    return !(t.empty() || t == "False" || t == "0");
}

}  // namespace dlg::stand_in
