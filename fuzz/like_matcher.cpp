// The Like matcher against a plain backtracking matcher over the same pattern
// language: both must agree on every text, and both refuse the same patterns.
#include <fuzzer/FuzzedDataProvider.h>

#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

#include "core/like_pattern.h"
#include "platform/sys/rt_error.h"

namespace {

using Atom = std::bitset<256>;
struct Reference {
    std::vector<Atom> atoms;
    std::vector<bool> star;  // true: "*" at this place instead of an atom
    bool valid = true;
};

Reference compile(const std::string& p, bool fold) {
    Reference r;
    auto push = [&](Atom a) {
        if (fold)
            for (unsigned c = 'a'; c <= 'z'; ++c)
                if (a.test(c) || a.test(c - 32)) a.set(c), a.set(c - 32);
        r.atoms.push_back(a);
        r.star.push_back(false);
    };
    for (size_t i = 0; i < p.size(); ++i) {
        const unsigned char c = p[i];
        Atom a;
        if (c == '*') {
            r.atoms.emplace_back();
            r.star.push_back(true);
        } else if (c == '?') {
            a.set();
            push(a);
        } else if (c == '#') {
            for (unsigned d = '0'; d <= '9'; ++d) a.set(d);
            push(a);
        } else if (c == '[') {
            const size_t close = p.find(']', i + 1);
            if (close == std::string::npos) return r.valid = false, r;
            std::string list = p.substr(i + 1, close - i - 1);
            i = close;
            const bool negate = !list.empty() && list[0] == '!';
            if (negate) list.erase(0, 1);
            if (list.empty() && !negate) continue;
            for (size_t k = 0; k < list.size(); ++k) {
                const unsigned char lo = list[k];
                if (k + 2 < list.size() && list[k + 1] == '-') {
                    const unsigned char hi = list[k + 2];
                    if (hi < lo) return r.valid = false, r;
                    for (unsigned b = lo; b <= hi; ++b) a.set(b);
                    k += 2;
                } else {
                    a.set(lo);
                }
            }
            if (fold)
                for (unsigned l = 'a'; l <= 'z'; ++l)
                    if (a.test(l) || a.test(l - 32)) a.set(l), a.set(l - 32);
            if (negate) a.flip();
            r.atoms.push_back(a);
            r.star.push_back(false);
        } else {
            a.set(c);
            push(a);
        }
    }
    return r;
}

// Memoised over (pattern place, text place).
bool matches(const Reference& r, const std::string& t) {
    const size_t n = r.atoms.size(), m = t.size();
    std::vector<std::vector<bool>> ok(n + 1, std::vector<bool>(m + 1, false));
    ok[n][m] = true;
    for (size_t i = n; i-- > 0;)
        for (size_t j = m + 1; j-- > 0;) {
            if (r.star[i]) ok[i][j] = ok[i + 1][j] || (j < m && ok[i][j + 1]);
            else ok[i][j] = j < m && r.atoms[i].test(static_cast<unsigned char>(t[j])) && ok[i + 1][j + 1];
        }
    return ok[0][0];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const bool fold = in.ConsumeBool();
    const std::string pattern = in.ConsumeRandomLengthString(64);
    const Reference ref = compile(pattern, fold);
    try {
        const core::LikePattern like(pattern, fold ? core::LikeCase::IgnoreAscii : core::LikeCase::Binary);
        if (!ref.valid) __builtin_trap();  // accepted a pattern the language refuses
        while (in.remaining_bytes() > 0) {
            const std::string text = in.ConsumeRandomLengthString(256);
            if (like.matches(text) != matches(ref, text)) __builtin_trap();
        }
    } catch (const sys::RtError& e) {
        if (ref.valid || e.number() != 93) __builtin_trap();
    }
    return 0;
}
