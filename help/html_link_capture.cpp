// URLs and e-mail addresses caught while the full scan walks a line: a start token
// opens a window of 200 characters that the following segments fill until one of the
// caller's delimiters ends the address.
#include <algorithm>

#include "help/html_scanner.h"
#include "core/url_routines.h"

namespace help_detail {
namespace {

constexpr int64_t kCaptureWindow = 200;
constexpr std::size_t kMailBefore = 30;
constexpr long kMailCapture = 1, kUrlCapture = 2;

}  // namespace

const std::vector<std::string>& HtmlScanner::delimiterRow(long row) const {
    static const std::vector<std::string> none;
    return row >= 0 && std::size_t(row) < delimiters_.size() ? delimiters_[std::size_t(row)] : none;
}

void HtmlScanner::urlStart(const std::string& token) {
    scan_.CaptureLeft = kCaptureWindow;
    if (captures_[kUrlCapture] == kUrlCapture) return;  // "www." inside a URL being read
    captures_[kUrlCapture] = kUrlCapture;
    HTMLGEN_AppendLimited(gHtmlListSep + token, status_.Urls, options_.UrlListOff, limits_.MaxListLen);
    if (scan_.SlotHttp >= 1 && options_.UrlListOff) {
        scan_.CountActive -= 2;
        HTMLGEN_DropLinks();
    }
}

void HtmlScanner::mailStart(const std::string& token, const std::string& segment, bool segmentFromLineStart) {
    std::string before;
    if (segment.size() >= kMailBefore) {
        before = segment.substr(segment.size() - kMailBefore);
    } else {
        before = segment;
        // Text carried from the previous line is in the segment already.
        if (segmentFromLineStart) {
            const std::string& prev = scan_.PrevLine;
            const std::size_t n = std::min(kMailBefore - segment.size(), prev.size());
            before = prev.substr(prev.size() - n) + segment;
        }
    }
    scan_.CaptureLeft = kCaptureWindow;
    if (captures_[kMailCapture] == kMailCapture) return;
    captures_[kMailCapture] = kMailCapture;
    HTMLGEN_AppendLimited(gHtmlListSep + before + token, status_.Mails, options_.MailListOff, limits_.MaxListLen);
    if (scan_.SlotMail > 0 && options_.MailListOff) {
        scan_.CountActive -= 1;
        HTMLGEN_DropMail();
    }
}

void HtmlScanner::captureContinue(const std::string& segment, const std::string& token, bool isWww) {
    std::string piece = segment + token;
    if (int64_t(piece.size()) >= scan_.CaptureLeft) {
        piece.resize(std::size_t(scan_.CaptureLeft));
        scan_.CaptureLeft = 0;
    } else if (isWww) {
        scan_.CaptureLeft -= int64_t(segment.size());
    } else {
        scan_.CaptureLeft = 0;
    }
    bool goesOn = false;
    for (std::size_t k = 1; k < captures_.size(); ++k) {
        const long kind = captures_[k];
        if (kind == 0) continue;
        std::string cut = piece;
        for (const std::string& delimiter : delimiterRow(kind)) cut = HTML_TextBefore(cut, delimiter);
        HTMLGEN_AppendText(cut, kind == kMailCapture ? status_.Mails : status_.Urls);
        if (cut.size() < piece.size()) captures_[k] = 0;
        else goesOn = true;
    }
    if (!goesOn) scan_.CaptureLeft = 0;
    // A window that closed ends its capture, so the next address makes an entry of its
    // own instead of running on from this one.
    if (scan_.CaptureLeft == 0) std::fill(captures_.begin(), captures_.end(), 0);
}

void HtmlScanner::HTMLGEN_MoveSlot(int& slot, int to) {
    scan_.Pat[to] = scan_.Pat[slot];
    scan_.Pos[to] = scan_.Pos[slot];
    slot = to;
}

void HtmlScanner::HTMLGEN_DropMail() {
    scan_.SlotMail = 0;
    if (scan_.SlotClose > 0) HTMLGEN_MoveSlot(scan_.SlotClose, scan_.SlotClose - 1);
    --scan_.CountInTag;
    --scan_.CountInText;
}

void HtmlScanner::HTMLGEN_DropLinks() {
    scan_.SlotHttp = 0;
    scan_.SlotWww = 0;
    if (scan_.SlotMail > 2) HTMLGEN_MoveSlot(scan_.SlotMail, scan_.SlotMail - 2);
    if (scan_.SlotClose > 2) HTMLGEN_MoveSlot(scan_.SlotClose, scan_.SlotClose - 2);
    scan_.CountInTag -= 2;
    scan_.CountInText -= 2;
}

}  // namespace help_detail
