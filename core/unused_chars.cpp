// The finder of character strings a text does not contain: the source of every
// escape marker in the program.
#include <bitset>
#include <memory>

#include "core/text.h"
#include "platform/sys/rt_error.h"

namespace {

constexpr int kLastCode = 254;
constexpr int kErrNoUnusedChars = 9910;

// Which single characters and which pairs occur in the text, taken in one pass so
// that candidates are ruled out without searching the text again.
class Occurrences {
public:
    explicit Occurrences(std::string_view text) : text_(text) {
        for (size_t i = 0; i < text.size(); ++i) {
            singles_.set(code(text[i]));
            if (i + 1 < text.size()) pairs_->set(code(text[i]) * 256 + code(text[i + 1]));
        }
    }
    bool contains(const std::string& candidate) const {
        if (candidate.size() == 1) return singles_.test(code(candidate[0]));
        if (!pairs_->test(code(candidate[0]) * 256 + code(candidate[1]))) return false;
        return candidate.size() == 2 || text_.find(candidate) != std::string_view::npos;
    }

private:
    static size_t code(char c) { return static_cast<unsigned char>(c); }
    std::string_view text_;
    std::bitset<256> singles_;
    std::unique_ptr<std::bitset<65536>> pairs_ = std::make_unique<std::bitset<65536>>();
};

}  // namespace

std::string TXT_UnusedCharFind(std::string_view text, int width, int excludedCode1,
                               int excludedCode2, int startCode,
                               const std::function<bool(const std::string&)>& accept) {
    if (width != 1 && width != 2) width = 3;
    if (startCode < 0) sys::raise(5, "TXT_UnusedCharFind");
    const Occurrences occurrences(text);
    std::string candidate(size_t(width), '\0');

    // Fills positions from `at` on, the last one varying fastest; true once a candidate
    // is absent from the text and accepted.
    auto search = [&](auto& self, size_t at) -> bool {
        if (at == candidate.size())
            return !occurrences.contains(candidate) && (!accept || accept(candidate));
        for (int c = startCode; c <= kLastCode; ++c) {
            if (c == excludedCode1 || c == excludedCode2) continue;
            candidate[at] = char(c);
            if (self(self, at + 1)) return true;
        }
        return false;
    };
    if (!search(search, 0))
        throw sys::RtError(kErrNoUnusedChars, "No unused marker characters left",
                           "TXT_UnusedCharFind");
    return candidate;
}
