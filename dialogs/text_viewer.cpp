#include "dialogs/text_viewer.h"

#include <algorithm>
#include <new>

#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "core/text.h"
#include "dialogs/msgbox.h"
#include "dialogs/option_strings.h"
#include "dialogs/ready_dialogs.h"
#include "platform/sys/rt_error.h"
#include "window/hex_listing.h"

namespace {

constexpr int kKeyF2 = 113;
constexpr std::size_t kTruncatedLength = 10000;
const std::string kFont = "Courier New";

core::StrArray toArray(const std::vector<std::string>& rows) {
    core::StrArray out;
    if (rows.empty()) return out;
    out.redim(0, static_cast<long>(rows.size()) - 1);
    for (std::size_t i = 0; i < rows.size(); ++i) out.set(static_cast<long>(i), rows[i]);
    return out;
}

// A fixed-pitch list wide enough for a row of the dump.
std::string listSpec(int cellsPerRow) {
    return std::to_string(cellsPerRow * 8700 / 4 + 900) + "||||8.25|" + kFont;
}

void addList(const std::vector<std::string>& rows, const std::string& spec, MB_CtlEntry& ctl) {
    if (!rows.empty()) {
        MB_AddListCtl(toArray(rows), "", -1, "ListBox", MB_SpecToTagForm(spec), ctl, false);
        return;
    }
    // A list always holds one item; skipping blank items (fields 15 and 16) leaves none.
    MB_AddControl("ListBox", MB_SpecToTagForm(spec + "|||||||||True|True"), "", ctl, false);
}

}  // namespace

int HEX_TextViewer(const std::string& caption, const std::string& text, int cellsPerRow, bool labels,
                   const std::string& extraText) {
    const int perRow = std::max(1, cellsPerRow);
    const window::HexListings listings = window::hexListings(text, perRow, labels);
    const std::string spec = listSpec(perRow);

    MB_CtlEntry ctl;
    ctl.entries.redim(0, 0);
    ctl.values.redim(0, 0);
    ctl.rows.redim(0, 0, 0, 0);
    addList(listings.text, spec, ctl);
    MB_AddControl("Label", "", "", ctl, false);
    addList(listings.hex, spec, ctl);
    MB_AddControl("Label", "", "Length: " + std::to_string(text.size()), ctl, false);

    // F2 closes the box so that the dump could be saved; saving is not provided.
    const std::string options = MB_OptTextFont(kFont) + MB_OptKeyHides(kKeyF2, 0);
    std::string state;
    Msgbxform* form = nullptr;
    const int pressed =
        MB_Show(extraText + gCRCR + "Press F2 to save dump data to a file", "0", options,
                caption.empty() ? "- [Show Hex Dump]" : caption + " - [Show Hex Dump]", ctl, state, form);
    if (TXT_Val(CHUNKS_Get(1, CHUNKS_Get(4, state))) == kKeyF2) MB_Info("disabled");
    return pressed;
}

int HEX_ShowText(const std::string& text, const std::string& caption, const std::string& extraText) {
    try {
        return HEX_TextViewer(caption, text, 4, true, extraText);
    } catch (const std::bad_alloc&) {
        const int answer = MB_MsgBox("Insufficient memory to show all text." + gCR + "Length of Text to show: " +
                                         std::to_string(text.size()) + gCRCR +
                                         "Press OK to try to show 10.000 bytes of text only. Press Cancel to abort.",
                                     "1", "", caption);
        if (answer != 1) return 0;
        return HEX_TextViewer(caption, "** Truncated ** " + text.substr(0, kTruncatedLength), 4, true, extraText);
    } catch (const sys::RtError& e) {
        MB_Info("Cannot display. Error: " + std::to_string(e.number()) + " - " + e.description());
        return 0;
    }
}
