#include "dialogs/button_rows.h"

#include <algorithm>

#include "core/numbers.h"
#include "core/delimited_lists.h"
#include "platform/sys/ascii.h"

namespace {

bool listed(const std::string& numbers, long m) {
    return numbers.find("|" + std::to_string(m) + "|") != std::string::npos;
}

// Buttons per line: as many as fit the form, at most MaxBpl and n, never below one.
long buttonsPerLine(const MBLayoutRec& layout, const MBButtspec& spec, double w, long n, double frame) {
    double room = layout.FormW - frame - (spec.Margin + spec.LeftX) + spec.ButtGap;
    // An integer division of the two values taken to whole numbers, as the old
    // arithmetic did.
    long divisor = static_cast<long>(core::roundHalfEven(w + spec.ButtGap));
    long fit = divisor > 0 ? static_cast<long>(core::roundHalfEven(room)) / divisor : n;
    return std::max(1L, std::min({fit, n, spec.MaxBpl}));
}

}  // namespace

long dlg::wayOutButton(const core::StrArray& captions) {
    if (captions.count() == 1) return 1;
    // The caption's first word, without its "&" marks, in lower case.
    const auto firstWord = [](const std::string& caption) {
        std::string word;
        for (char c : caption) {
            if (c == '&') continue;
            if (c == ' ' && !word.empty()) break;
            if (c != ' ') word += sys::asciiLower(c);
        }
        return word;
    };
    for (const char* wanted : {"cancel", "exit", "close", "done", "no", "ok"})
        for (long i = captions.lbound(); i <= captions.ubound(); ++i)
            if (firstWord(captions[i]) == wanted) return i - captions.lbound() + 1;
    return 0;
}

void MB_MeasureCaptions(const dlg::TextMeasurer& measurer, const MBButtspec& spec,
                        std::string_view captions, bool styleByList,
                        core::StrArray& captionArray, double& width) {
    CHUNKS_Split(captions, captionArray, 1);
    dlg::TextStyle style;
    if (styleByList) {
        style = {!spec.BoldButts.empty(), !spec.ItiButts.empty(), !spec.UndrButts.empty()};
    } else {
        // A plain text match of the number, as the old measuring did: it may measure in
        // bold for button 1 when only button 12 is bold, which only widens the buttons.
        for (long i = 1; i <= captionArray.count(); ++i) {
            std::string number = std::to_string(spec.LastButton + i);
            style.bold |= spec.BoldButts.find(number) != std::string::npos;
            style.italic |= spec.ItiButts.find(number) != std::string::npos;
            style.underline |= spec.UndrButts.find(number) != std::string::npos;
        }
    }
    width = spec.MinCaptW;
    for (const std::string& caption : captionArray.items())
        width = std::max(width, measurer.textWidth(caption, style));
}

void MB_PlaceButtons(dlg::ButtonHost& host, MBLayoutRec& layout, MBButtspec& spec,
                     const core::StrArray& captions) {
    const long n = captions.count();
    const double w = host.patternWidth();
    const double h = host.patternHeight();
    const double frame = host.frameWidth();
    const long b = buttonsPerLine(layout, spec, w, n, frame);

    spec.LeftX = std::max(spec.LeftX, (layout.FormW - frame - b * w - (b - 1) * spec.ButtGap) / 2);
    if (spec.AtBottom) {
        // Every line that the loop below fills, however many buttons came before.
        long lines = (n + b - 1) / b;
        layout.NextTop = std::max(layout.NextTop, host.scaleHeight() - (h + spec.LineGap) * lines);
    }

    double x = spec.LeftX;
    for (long k = 1; k <= n; ++k) {
        dlg::PlacedButton button;
        button.number = spec.LastButton + k;
        button.caption = captions[captions.lbound() + k - 1];
        button.left = x;
        button.top = layout.NextTop;
        button.width = w;
        button.height = h;
        button.cancel = button.number == spec.EscButton;
        button.isDefault = button.number == spec.DfltButton;
        button.style = {listed(spec.BoldButts, button.number), listed(spec.ItiButts, button.number),
                        listed(spec.UndrButts, button.number)};
        host.placeButton(button);
        if (k % b != 0) {
            x = button.left + button.width + spec.ButtGap;
        } else if (k < n) {
            layout.NextTop += button.height + spec.LineGap;
            x = spec.LeftX;
        }
    }
    spec.LastButton += n;
    host.hidePattern();
    layout.NextTop += h + std::max(120.0, spec.LineGap);
}
