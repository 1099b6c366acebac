#include "core/dialog_responder.h"
#include "platform/sys/ascii.h"

namespace core {
namespace {
DlgResponder* installed = nullptr;

std::string plainCaption(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '&') continue;
        out += sys::asciiLower(c);
    }
    return out;
}
}  // namespace

void setDialogResponder(DlgResponder* responder) { installed = responder; }
DlgResponder* dialogResponder() { return installed; }

bool sameCaption(const std::string& a, const std::string& b) { return plainCaption(a) == plainCaption(b); }

}  // namespace core
