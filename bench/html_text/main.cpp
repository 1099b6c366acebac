// Turns a generated 1 MB help-like page into plain text with the HTML-to-text engine,
// as the help popup does, against the peer that only copies the bytes outside "<...>"
// (the least any converter must do), and prints milliseconds per page and the ratio.
//
// usage: bench_html_text [RUNS]   (default 20)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/timing.h"
#include "help/html_to_text.h"

namespace {

std::string page() {
    std::string html = "<html><head><style>p{}</style><script>var x = 1 < 2;</script></head><body>";
    for (int n = 0; html.size() < 1'000'000; ++n) {
        const std::string word = "word" + std::to_string(n);
        html += "<p class=\"c\">" + word + " &amp; <a href=\"#" + word + "\">link</a><!-- note --></p>\r\n";
    }
    return html + "</body></html>";
}

std::string outsideTags(const std::string& html) {
    std::string text;
    bool inTag = false;
    for (char c : html) {
        if (c == '<') inTag = true;
        else if (c == '>') inTag = false;
        else if (!inTag) text += c;
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 20;
    const std::string html = page();
    std::size_t sink = 0;
    bool ok = true;
    const double engine = bench::seconds([&] {
        for (int i = 0; i < runs; ++i) sink += HTMLGEN_TextOf(html, ok).size();
    });
    const double peer = bench::seconds([&] {
        for (int i = 0; i < runs; ++i) sink += outsideTags(html).size();
    });
    std::printf("page %zu bytes, %d runs\n", html.size(), runs);
    std::printf("engine   %8.2f ms per page\n", engine * 1000 / runs);
    std::printf("peer     %8.2f ms per page (bytes outside tags)\n", peer * 1000 / runs);
    std::printf("ratio    %8.2f (engine / peer)   [%zu]\n", engine / peer, sink);
    return ok ? 0 : 1;
}
