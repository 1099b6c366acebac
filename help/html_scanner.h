#pragma once
// The engine behind HTMLGEN_Dissect, shared by the text scan and the link capture.
// One object serves one dispatcher call: the failure count, the last error and the
// current line live here, not in globals.
#include <string>

#include "help/html_to_text.h"

namespace help_detail {

class HtmlScanner {
public:
    HtmlScanner(const HTMLGEN_Limits& limits, HTMLGEN_Options& options, HTMLGEN_Status& status,
                HTMLGEN_ScanState& scan, const HTMLGEN_Delimiters& delimiters,
                HTMLGEN_CaptureStates& captures, std::vector<std::string>& text,
                std::vector<std::string>& tagNames, std::vector<std::string>& tagTexts)
        : limits_(limits), options_(options), status_(status), scan_(scan), delimiters_(delimiters),
          captures_(captures), text_(text), tagNames_(tagNames), tagTexts_(tagTexts) {}

    void HTMLGEN_InitPatterns();
    void HTMLGEN_FullScan(const std::string& line);
    int failures() const { return failures_; }
    // The message of the last failed append.
    std::string lastErrorText() const;

    // Appends under a trap: a failure leaves the target as it was and is counted.
    void HTMLGEN_AppendText(const std::string& piece, std::string& target);
    // Appends while `full` is false; sets it once the target outgrows `maximum`.
    void HTMLGEN_AppendLimited(const std::string& piece, std::string& target, bool& full, int64_t maximum);
    void HTMLGEN_AddUniqueLimited(std::string& list, std::string item, const std::string& separator, bool& full,
                          int64_t maximum);

private:
    // 1-based position of the slot's pattern at or after `from`; 0 when none.
    int64_t nextOf(int slot, int64_t from) const;
    void tagHead(const std::string& segment, const std::string& token, const std::string& tokenText, int64_t p,
                 bool& opening, bool& closing);
    void endMarkCheck(const std::string& segment, const std::string& token, int64_t p, bool& opening,
                      bool& closing);
    void HTMLGEN_AddToResult(const std::string& piece, std::vector<std::string>& target);
    void emitTag();

    // Link capture.
    void urlStart(const std::string& token);
    void mailStart(const std::string& token, const std::string& segment, bool segmentFromLineStart);
    void captureContinue(const std::string& segment, const std::string& token, bool isWww);
    void HTMLGEN_DropMail();
    void HTMLGEN_DropLinks();
    void HTMLGEN_MoveSlot(int& slot, int to);
    const std::vector<std::string>& delimiterRow(long row) const;

    const HTMLGEN_Limits& limits_;
    HTMLGEN_Options& options_;
    HTMLGEN_Status& status_;
    HTMLGEN_ScanState& scan_;
    const HTMLGEN_Delimiters& delimiters_;
    HTMLGEN_CaptureStates& captures_;
    std::vector<std::string>& text_;
    std::vector<std::string>& tagNames_;
    std::vector<std::string>& tagTexts_;
    const std::string* line_ = nullptr;
    int failures_ = 0;
    int lastError_ = 0;
};

}  // namespace help_detail
