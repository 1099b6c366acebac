#include "logimport/log_format.h"

#include <algorithm>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "logimport/line_timestamp.h"

std::vector<std::string> LogFmtTokens;

namespace {

const char* const kBaseTokens[27] = {"%S", "%s", "%r", "%q", "%B", "%A", "%f", "%u", "%v",
                                     "%d", "%m", "%M", "%y", "%Y", "%Z", "%h", "%n", "%a",
                                     "%U", "%b", "%t", "%T", "%D", "%c", "%C", "%j", "%e"};

struct Wildcard { const char* text; CompositePart::Kind kind; };
// Tested in this order where a separator may hold one.
const Wildcard kWildcards[] = {{"%w", CompositePart::Blanks},
                               {"%W", CompositePart::OptionalBlanks},
                               {"\\n", CompositePart::LineBreaks}};

// Escape and replacement, applied in this order to every occurrence.
const std::pair<const char*, const char*> kEscapes[] = {{"%%", "%"}, {"\\t", "\t"}, {"\\\\", "\\"}};

void replaceAll(std::string& s, std::string_view from, std::string_view to) {
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
}

// Splits a separator into literal runs and wildcards; empty when it holds no wildcard.
CompositeSeparator compositeOf(const std::string& sep) {
    CompositeSeparator parts;
    bool any = false;
    std::string literal;
    for (size_t i = 0; i < sep.size();) {
        const Wildcard* hit = nullptr;
        for (const auto& w : kWildcards)
            if (sep.compare(i, std::char_traits<char>::length(w.text), w.text) == 0) { hit = &w; break; }
        if (!hit) { literal += sep[i++]; continue; }
        if (!literal.empty()) parts.push_back({CompositePart::Literal, std::move(literal)});
        literal.clear();
        parts.push_back({hit->kind, hit->text});
        i += std::char_traits<char>::length(hit->text);
        any = true;
    }
    if (!any) return {};
    if (!literal.empty()) parts.push_back({CompositePart::Literal, std::move(literal)});
    return parts;
}

bool blankLine(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

size_t endWithoutBreaks(std::string_view line) {
    size_t end = line.size();
    while (end > 0 && (line[end - 1] == '\r' || line[end - 1] == '\n')) --end;
    return end;
}

// A literal separator after a quoted field ends it only at a quote no backslash escapes.
void markClosingQuotes(std::vector<LogFmtPiece>& cells) {
    for (size_t j = 1; j < cells.size(); ++j)
        if (cells[j - 1].quoted && !cells[j].composite) cells[j].closingQuote = cells[j].sep.find('"');
}

// The separator's next place at or after pos where its quote is not escaped, that is
// not preceded by an odd run of backslashes inside the field.
size_t findClosingSeparator(std::string_view line, const LogFmtPiece& p, size_t pos) {
    for (size_t at = line.find(p.sep, pos); at != std::string_view::npos; at = line.find(p.sep, at + 1)) {
        size_t quote = at + p.closingQuote, slashes = 0;
        while (quote - slashes > pos && line[quote - slashes - 1] == '\\') ++slashes;
        if (slashes % 2 == 0) return at;
    }
    return std::string_view::npos;
}

}  // namespace

void STTA_LogFmtTokensInit(bool force) {
    if (!LogFmtTokens.empty() && !force) return;
    LogFmtTokens.assign(kLogFmtTokenCount + 1, "");
    for (int k = 1; k <= 27; ++k) {
        LogFmtTokens[k] = kBaseTokens[k - 1];
        LogFmtTokens[27 + k] = std::string("%*") + kBaseTokens[k - 1][1];
    }
    for (int k = 1; k <= 5; ++k) LogFmtTokens[54 + k] = "%" + std::to_string(k);
}

std::vector<std::string> LogFmtSeparatorCodes() {
    std::vector<std::string> codes;
    for (const auto& w : kWildcards) codes.push_back(w.text);
    for (const auto& e : kEscapes) codes.push_back(e.first);
    return codes;
}

std::string LogFmtFieldCaption(int fieldNo) {
    switch (fieldNo) {
    case kFldIpAddress: return "IP Address";
    case kFldFileName: return "File Name";
    case kFldQuery: return "Query string";
    case kFldUserAgent: return "User Agent string";
    case kFldUserAgent2: return "User Agent2 string";
    case kFldReferrer: return "Referrer string";
    case kFldUser: return "User No";
    case kFldVirtualHost: return "Virtual Host";
    case kFldMicroseconds: return "Processing Time / microS.";
    case kFldStatus: return "HTTP Status";
    case kFldStatusWords: return "HTTP code words";
    default: return "";
    }
}

void STTA_LogFmtPieceStore(long row, long& piece, const std::string& separator, long token,
                           LogFmtCompiled& compiled) {
    LogFmtPiece p;
    p.sep = separator;
    for (const auto& [from, to] : kEscapes) replaceAll(p.sep, from, to);
    p.token = token;
    if (CompositeSeparator parts = compositeOf(p.sep); !parts.empty()) {
        p.composite = true;
        p.compositeNo = STTA_CompositeAdd(compiled.composites, parts);
        p.sep = "%%" + std::to_string(p.compositeNo);
    }
    if (compiled.rows.size() <= size_t(row)) compiled.rows.resize(size_t(row) + 1);
    auto& cells = compiled.rows[size_t(row)];
    if (cells.size() <= size_t(piece)) cells.resize(size_t(piece) + 1);
    cells[size_t(piece)] = std::move(p);
    ++piece;
}

void STTA_LogFmtCompile(const std::string& format, long row, LogFmtCompiled& compiled) {
    STTA_LogFmtTokensInit(false);
    size_t pos = 0;
    long piece = 0;
    long lastToken = -1;
    bool warned = false;
    bool inQuotes = false;  // an odd number of quotes stands before the current field
    auto& cells = [&]() -> std::vector<LogFmtPiece>& {
        if (compiled.rows.size() <= size_t(row)) compiled.rows.resize(size_t(row) + 1);
        return compiled.rows[size_t(row)];
    }();
    for (;;) {
        size_t best = std::string::npos;
        long token = -1;
        for (long k = 1; k <= kLogFmtTokenCount; ++k) {
            size_t at = format.find(LogFmtTokens[size_t(k)], pos);
            if (at < best) { best = at; token = k; }
        }
        if (token < 0) {
            std::string rest = format.substr(pos);
            STTA_LogFmtPieceStore(row, piece, rest, -1, compiled);
            // A line ending in a field gives that field the rest of the log line.
            cells[size_t(piece - 1)].toLineEnd = rest.empty() && lastToken > 0;
            STTA_LogFmtPieceStore(row, piece, "", -1, compiled);
            markClosingQuotes(cells);
            return;
        }
        if (best == pos && pos > 0) {
            if (!warned) {
                core::ui().info("Error in format specification >>" + format +
                                    "<< - no seperation space or other characters after " +
                                    LogFmtTokens[size_t(token)] + gCR +
                                    "Processing will assume-look for a space at this point.",
                                "");
                warned = true;
            }
            STTA_LogFmtPieceStore(row, piece, " ", token, compiled);
        } else {
            const std::string sep = format.substr(pos, best - pos);
            inQuotes ^= std::count(sep.begin(), sep.end(), '"') % 2 == 1;
            STTA_LogFmtPieceStore(row, piece, sep, token, compiled);
        }
        cells[size_t(piece - 1)].quoted = inQuotes;
        lastToken = token;
        pos = best + LogFmtTokens[size_t(token)].size();
    }
}

void STTA_LogFmtDefCompile(const std::vector<std::string>& items, LogFmtCompiled& compiled) {
    compiled.rows.assign(std::max<size_t>(items.size(), 1), {});
    for (size_t f = 1; f < items.size(); ++f) STTA_LogFmtCompile(items[f], long(f), compiled);
}

std::string STTA_LogFmtDefault() {
    const std::string site = INI_Get("Main", "LFmtDflt", gIniLastVals, kIniMissingEmpty);
    if (!core::trimBlanks(site).empty()) return site;
    return INI_Get("Main", "LFmtDflt", gIniLogFmts, kIniMissingEmpty);
}

void STTA_LogFmtDefLoad(const std::string& name, LogFmtCompiled& compiled) {
    std::string list = INI_Get(name, "DefsCDS", gIniLogFmts, kIniMissingEmpty);
    std::vector<std::string> items;
    if (!list.empty()) {
        core::StrArray parts;
        CHUNKS_Split(list, parts, 0);
        for (long i = parts.lbound(); i <= parts.ubound(); ++i) items.push_back(parts[i]);
    }
    STTA_LogFmtDefCompile(items, compiled);
}

bool STTA_LogLineSplit(std::string_view line, const LogFmtCompiled& compiled, LogFields& fields,
                       long* date) {
    if (blankLine(line)) return false;
    struct Cut { long token; size_t start, length; bool quoted; };
    thread_local std::vector<Cut> cuts;
    const auto& composites = compiled.composites;
    for (size_t f = 1; f < compiled.rows.size(); ++f) {
        const auto& row = compiled.rows[f];
        cuts.clear();
        size_t pos = 0;
        bool matched = true;
        for (size_t j = 0; j < row.size(); ++j) {
            const LogFmtPiece& p = row[j];
            size_t at = 0, length = 0;
            if (p.composite) {
                matched = logfmt::matchComposite(composites[size_t(p.compositeNo)], line, pos, at, length);
            } else if (p.toLineEnd) {
                at = std::max(pos, endWithoutBreaks(line));
            } else {
                at = p.closingQuote == std::string::npos ? line.find(p.sep, pos) : findClosingSeparator(line, p, pos);
                matched = at != std::string_view::npos;
                length = p.sep.size();
            }
            if (!matched) break;
            if (j > 0 && row[j - 1].token > 0) cuts.push_back({row[j - 1].token, pos, at - pos, row[j - 1].quoted});
            pos = at + length;
        }
        if (!matched) continue;
        for (auto& field : fields) field.clear();
        for (const Cut& c : cuts) {
            std::string& text = fields[size_t(c.token)];
            text.assign(line.substr(c.start, c.length));
            if (c.quoted && text.find('\\') != std::string::npos) STTA_QuotedFieldUnescape(text);
        }
        if (date) {
            *date = 0;
            if (STTA_LogFieldsHoldData(fields) && !STTA_LineDateTimeHold(fields, *date)) continue;
        }
        return true;
    }
    return false;
}

void STTA_QuotedFieldUnescape(std::string& text) {
    size_t out = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            const char next = text[i + 1];
            if (next == '"' || next == '\\') {
                c = next;
                i += 1;
            } else if (next == 'x' && i + 3 < text.size() && text[i + 2] == '2' && text[i + 3] == '2') {
                c = '"';
                i += 3;
            } else if (next == 'x' && i + 3 < text.size() && text[i + 2] == '5' && (text[i + 3] | 0x20) == 'c') {
                i += 3;
            }
        }
        text[out++] = c;
    }
    text.resize(out);
}

bool STTA_LogFieldsHoldData(const LogFields& fields) {
    constexpr size_t kLastMeaningful = kFldSecond, kFirstSpare = 2 * kFldSecond + 1;
    for (size_t i = 1; i < fields.size(); ++i)
        if ((i <= kLastMeaningful || i >= kFirstSpare) && !fields[i].empty()) return true;
    return false;
}

void STTA_LogFileEntrySplit(const std::string& joined, std::string& fileSpec, std::string& defName) {
    static const std::string marker = " [LogFormat: ";
    core::StrArray items;
    CHUNKS_SplitEx(joined, "|", kChunksNoExclusion, items, 1);
    const std::string& entry = items.ubound() == 1 ? items[1] : joined;
    size_t at = entry.find(marker);
    if (at == std::string::npos) {
        fileSpec = entry;
        defName.clear();
        return;
    }
    fileSpec = entry.substr(0, at);
    std::string rest = entry.substr(at + marker.size());
    size_t close = rest.rfind(']');
    defName = close == std::string::npos ? rest : rest.substr(0, close);
}

std::string STTA_LogFileEntryJoin(const std::string& fileSpec, const std::string& defName) {
    std::string entry = defName.empty() ? fileSpec : fileSpec + " [LogFormat: " + defName + "]";
    if (entry.find('|') == std::string::npos) return entry;
    core::StrArray items;
    items.redim(1, 1);
    items.set(1, entry);
    return CHUNKS_JoinEx(items, "|", kChunksNoExclusion, 1, false);
}
