#include "core/csv_files.h"

#include <algorithm>

namespace core::csv {

namespace {

// Splits a stream into lines at LF, CR LF or CR, reading in large blocks.
class LineReader {
public:
    explicit LineReader(std::istream& in) : in_(in) {}

    bool next(std::string& line) {
        line.clear();
        while (true) {
            // A last line without a line end is still a line; the end of the file is not.
            if (pos_ == len_ && !fill()) return !line.empty();
            char c = buf_[pos_++];
            if (c == '\n') return true;
            if (c == '\r') {
                if (pos_ == len_) fill();
                if (pos_ < len_ && buf_[pos_] == '\n') ++pos_;
                return true;
            }
            line += c;
        }
    }

private:
    bool fill() {
        if (!in_) return false;
        in_.read(buf_, sizeof buf_);
        len_ = static_cast<size_t>(in_.gcount());
        pos_ = 0;
        return len_ > 0;
    }

    std::istream& in_;
    char buf_[1 << 16];
    size_t pos_ = 0, len_ = 0;
};

bool startsWithMarker(std::string_view line, std::string_view marker) {
    if (line.substr(0, marker.size()) == marker) return true;
    return !line.empty() && line[0] == '"' && line.substr(1, marker.size()) == marker;
}

}  // namespace

Row splitLine(std::string_view line, std::string_view separator, bool ignoreQuotes, bool& inQuotes) {
    Row fields(1);
    bool sepMatches = separator.size() == 1;
    for (char c : line) {
        if (c == '"' && !ignoreQuotes) {
            inQuotes = !inQuotes;
        } else if (sepMatches && c == separator[0] && !inQuotes) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

bool readBlock(std::istream& in, const ReadSpec& spec, std::vector<Row>& rows, int& status,
               const Progress& progress, const RowFilter& take) {
    status = kFound;
    LineReader reader(in);
    std::string line;
    std::int64_t done = 0;
    auto report = [&](const std::string& message) {
        if (progress) progress(done, message);
    };

    if (!spec.startText.empty()) {
        while (true) {
            if (!reader.next(line)) {
                status = kNoStart;
                return false;
            }
            done += static_cast<std::int64_t>(line.size());
            report("Looking for start text");
            if (startsWithMarker(line, spec.startText)) break;
        }
    }

    bool inQuotes = false;
    long sinceReport = 0;
    long highestColumn = 0;
    while (reader.next(line)) {
        done += static_cast<std::int64_t>(line.size());
        sinceReport += static_cast<long>(line.size());
        if (sinceReport > 2000) {
            sinceReport = 0;
            if (!rows.empty()) {
                long column = spec.columnsFirst ? 1 : std::min(highestColumn, 1L);
                long k = column - spec.firstColumn;
                const Row& last = rows.back();
                std::string cell = k >= 0 && k < static_cast<long>(last.size()) ? last[static_cast<size_t>(k)] : "";
                report("Loading data. Last data loaded: " + cell);
            }
        }
        if (startsWithMarker(line, spec.endText)) return true;
        Row fields = splitLine(line, spec.separator, spec.ignoreQuotes, inQuotes);
        if (take && !take(fields)) continue;
        for (size_t k = 0; k < fields.size(); ++k)
            if (!fields[k].empty()) highestColumn = std::max(highestColumn, spec.firstColumn + static_cast<long>(k));
        rows.push_back(std::move(fields));
    }
    status = kNoEnd;
    return false;
}

std::string quoteField(std::string_view cell, std::string_view separator) {
    std::string out;
    bool hadQuote = false;
    for (char c : cell) {
        if (c == '\r' || c == '\n') continue;
        if (c == '"') {
            hadQuote = true;
            out += '"';
        }
        out += c;
    }
    bool hasSeparator = !separator.empty() && out.find(separator) != std::string::npos;
    return hadQuote || hasSeparator ? "\"" + out + "\"" : out;
}

std::string quotedLine(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace core::csv
