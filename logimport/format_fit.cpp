#include "logimport/format_fit.h"

#include <algorithm>

#include "core/vb_format.h"

namespace logimport {

namespace {

// The W3C field names whose values a format reads into a field of its own.
struct W3cName { std::string_view name; int field; };
constexpr W3cName kW3cNames[] = {
    {"c-ip", kFldIpAddress},     {"cs-uri-stem", kFldFileName},   {"cs-uri-query", kFldQuery},
    {"cs(User-Agent)", kFldUserAgent}, {"cs(Referer)", kFldReferrer}, {"cs-username", kFldUser},
    {"cs-host", kFldVirtualHost}, {"sc-status", kFldStatus},       {"sc-bytes", kFldBytes},
};

constexpr std::string_view kFieldsDirective = "#Fields:";

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHex(char c) { return isDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); }
bool isLetter(char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }

bool isIpv4(std::string_view s) {
    int parts = 0;
    for (size_t start = 0;; ++parts) {
        size_t dot = std::min(s.find('.', start), s.size());
        std::string_view part = s.substr(start, dot - start);
        if (part.empty() || part.size() > 3 || !std::all_of(part.begin(), part.end(), isDigit)) return false;
        int value = 0;
        for (char c : part) value = value * 10 + (c - '0');
        if (value > 255) return false;
        if (dot == s.size()) return parts == 3;
        start = dot + 1;
    }
}

bool isIpv6(std::string_view s) {
    s = s.substr(0, s.find('%'));  // a zone ("fe80::1%eth0")
    if (std::count(s.begin(), s.end(), ':') < 2) return false;
    return std::all_of(s.begin(), s.end(), [](char c) { return isHex(c) || c == ':' || c == '.'; });
}

bool isHostName(std::string_view s) {
    if (s.empty() || s.size() > 253 || s.front() == '.' || s.back() == '.' || s.find("..") != s.npos) return false;
    bool letter = false;
    for (char c : s) {
        if (!(isLetter(c) || isDigit(c) || c == '-' || c == '_' || c == '.')) return false;
        letter = letter || isLetter(c);
    }
    return letter;  // "443" or "1.2.3" are no host names
}

bool isOneAddress(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    if (s.size() > 2 && s.front() == '[' && s.back() == ']') s = s.substr(1, s.size() - 2);
    return isIpv4(s) || isIpv6(s) || isHostName(s);
}

bool isNumber(std::string_view s) { return !s.empty() && std::all_of(s.begin(), s.end(), isDigit); }

// "-" is how W3C logs write an empty value.
bool sameValue(std::string_view column, const std::string& read) {
    return column == read || (column == "-" && read.empty());
}

std::string finding(std::int64_t bad, std::int64_t lines, const std::string& what, const std::string& example) {
    return "Most lines (" + TXT_FormatDbl(double(bad), "#,###,##0") + " of " +
           TXT_FormatDbl(double(lines), "#,###,##0") + ") " + what + " (such as " + example +
           "): check the log format.";
}

std::string quoted(std::string_view value) { return "\"" + std::string(value.substr(0, 80)) + "\""; }

}  // namespace

bool FormatFit::Tally::take(bool ok) {
    ++lines;
    return !ok && bad++ == 0;
}

// Runs for every line read: the example text is made for the first bad line only.
void FormatFit::takeLine(std::string_view line, const LogFields& fields) {
    if (const std::string& ip = STTA_LogFieldsIP(fields); !ip.empty() && ip_.take(isIpOrHostName(ip)))
        ip_.example = quoted(ip);
    if (const std::string& status = fields[kFldStatus]; !status.empty() && status_.take(isNumber(status)))
        status_.example = quoted(status);
    if (w3cColumns_.empty()) return;
    columns_.clear();
    for (size_t start = 0;;) {
        size_t blank = std::min(line.find(' ', start), line.size());
        columns_.push_back(line.substr(start, blank - start));
        if (blank == line.size()) break;
        start = blank + 1;
    }
    if (columns_.size() != w3cColumnCount_) return;  // the directive does not describe this line
    for (const W3cColumn& c : w3cColumns_) {
        const std::string& read = c.field == kFldIpAddress ? STTA_LogFieldsIP(fields) : fields[size_t(c.field)];
        if (read.empty() || sameValue(columns_[c.column], read)) continue;
        if (w3c_.take(false)) w3c_.example = std::string(c.name) + " read as " + quoted(read);
        return;
    }
    w3c_.take(true);
}

void FormatFit::takeDirective(std::string_view line) {
    if (line.substr(0, kFieldsDirective.size()) != kFieldsDirective) return;
    w3cColumns_.clear();
    w3cColumnCount_ = 0;
    std::string_view names = line.substr(kFieldsDirective.size());
    for (size_t start = 0; start < names.size();) {
        size_t blank = std::min(names.find(' ', start), names.size());
        std::string_view name = names.substr(start, blank - start);
        start = blank + 1;
        if (name.empty()) continue;
        for (const W3cName& w : kW3cNames)
            if (w.name == name) w3cColumns_.push_back({w.name, w.field, w3cColumnCount_});
        ++w3cColumnCount_;
    }
}

std::vector<std::string> FormatFit::findings() const {
    std::vector<std::string> out;
    if (ip_.most())
        out.push_back(finding(ip_.bad, ip_.lines, "have an IP address field that is not an IP address or host name",
                              ip_.example));
    if (status_.most())
        out.push_back(finding(status_.bad, status_.lines, "have an HTTP status that is not a number", status_.example));
    if (w3c_.most())
        out.push_back(finding(w3c_.bad, w3c_.lines,
                              "have other fields where the log format reads them than the log's #Fields: line names",
                              w3c_.example));
    return out;
}

bool isIpOrHostName(std::string_view text) {
    for (size_t start = 0;;) {
        size_t comma = std::min(text.find(',', start), text.size());
        if (!isOneAddress(text.substr(start, comma - start))) return false;
        if (comma == text.size()) return true;
        start = comma + 1;
    }
}

bool formatReadsReferrers(const LogFmtCompiled& formats) {
    for (const auto& row : formats.rows)
        for (const LogFmtPiece& p : row)
            if (p.token == kFldReferrer) return true;
    return false;
}

}  // namespace logimport
