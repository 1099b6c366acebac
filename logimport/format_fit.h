#pragma once
// Signs that a log format fits the shape of a file's lines but reads their fields from
// the wrong places: most lines with an IP field that is no address or host name, with
// an HTTP status that is no number, or with fields other than those the file's W3C
// "#Fields:" line puts there. Such a read stores wrong data without a word, so the
// findings go to the summary and the problem list; nothing is refused.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "logimport/log_format.h"

namespace logimport {

class FormatFit {
public:
    // A line the format matched, with the fields it gave.
    void takeLine(std::string_view line, const LogFields& fields);
    // A directive line of a W3C log ("#..."): "#Fields:" names the columns of the
    // lines after it.
    void takeDirective(std::string_view line);
    // One text per sign that most lines of the file show; none when the format fits.
    std::vector<std::string> findings() const;

private:
    struct Tally {
        std::int64_t lines = 0, bad = 0;
        std::string example;  // what the first bad line held
        // Counts a line; true for the first bad one, whose example the caller keeps.
        bool take(bool ok);
        bool most() const { return bad * 2 > lines; }
    };
    Tally ip_, status_, w3c_;
    struct W3cColumn { std::string_view name; int field; size_t column; };
    std::vector<W3cColumn> w3cColumns_;  // the fields a #Fields: line names, and their columns
    size_t w3cColumnCount_ = 0;
    std::vector<std::string_view> columns_;  // of the line taken last, reused
};

// An IPv4 or IPv6 address or a host name, or a "client, proxy" list of them.
bool isIpOrHostName(std::string_view text);
// Whether any format line reads the referrer, without which a log gives no search-engine
// visits.
bool formatReadsReferrers(const LogFmtCompiled& formats);

}  // namespace logimport
