#include "logimport/forms/search_engine_editor.h"

#include <algorithm>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/like_pattern.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "dialogs/msgbox.h"
#include "dialogs/option_strings.h"
#include "dialogs/paged_list_dialog.h"
#include "dialogs/ready_dialogs.h"
#include "logimport/search_engine_store.h"
#include "logimport/search_engines.h"
#include "logimport/forms/test_reads.h"
#include "platform/sys/rt_error.h"

namespace logimport {

std::vector<std::string> storedSEDefinitions() {
    std::string text;
    STTA_SEDefsText(text);
    std::vector<std::string> out;
    if (text.empty()) return out;
    core::StrArray items;
    CHUNKS_Split(text, items, 0);
    for (long i = 0; i <= items.ubound(); ++i) out.push_back(items[i]);
    return out;
}

void storeSEDefinitions(const std::vector<std::string>& definitions) {
    core::StrArray items;
    items.redim(0, static_cast<long>(definitions.size()));
    for (std::size_t i = 0; i < definitions.size(); ++i) items.set(static_cast<long>(i) + 1, definitions[i]);
    INI_Put("Main", "CDSsrchenginedefs", definitions.empty() ? std::string() : CHUNKS_Join(items, 1), gIniLogFmts);
}

}  // namespace logimport

using namespace logimport;

namespace {

// Grid items (spec, parameters, spec, ...) back to definitions "spec params"; rows with
// both cells empty are left out. `invalid` receives each spec that holds a space or is
// no valid pattern.
std::vector<std::string> seDefinitionRows(const core::StrArray& items, std::vector<std::string>& invalid) {
    std::vector<std::string> rows;
    invalid.clear();
    for (long i = 1; i <= items.ubound(); i += 2) {
        const std::string& spec = items[i];
        const std::string params = i + 1 <= items.ubound() ? items[i + 1] : std::string();
        if (spec.empty() && params.empty()) continue;
        bool valid = spec.find(' ') == std::string::npos;
        // A spec the matcher refuses would stop every later load of the definitions.
        if (valid) {
            try {
                core::LikePattern check(core::lowerAscii(spec));
            } catch (const sys::RtError& e) {
                if (e.number() != 93) throw;
                valid = false;
            }
        }
        if (!valid) invalid.push_back(spec.find(' ') == std::string::npos ? spec + " (not a valid pattern)" : spec);
        rows.push_back(spec + " " + params);
    }
    return rows;
}

const std::string kEditCaption = "Definitions of SE Referrer Strings - used to extract search term.";

core::StrArray gridItems(const std::vector<std::string>& definitions) {
    core::StrArray items;
    items.redim(0, 2 * static_cast<long>(definitions.size()));
    std::string spec, params;
    for (std::size_t i = 0; i < definitions.size(); ++i) {
        splitDefinition(definitions[i], spec, params);
        items.set(2 * static_cast<long>(i) + 1, spec);
        items.set(2 * static_cast<long>(i) + 2, params);
    }
    return items;
}

// Shows the grid; false when it was cancelled.
bool showGrid(const std::string& message, const std::string& extraButtons, core::StrArray& items, long& result) {
    MB_PagedListArgs a;
    a.message = message;
    a.caption = kEditCaption;
    a.options = MB_OptFixedWidthPct(90);
    a.typeWords = "TextBox|TextBox";
    a.baseSpec = "6000";
    a.columns = 2;
    a.pageSize = 30;
    a.secondCaption = "&Cancel";
    a.furtherCaptions = extraButtons;
    a.endOnSecond = true;
    a.keepEmpty = true;  // an emptied cell must not shift the pairs
    std::string states;
    MB_CtlEntry controls;
    return MB_CheckListPaged(a, items, states, controls, result);
}

// The rows when all are valid; otherwise tells the user and gives nothing.
bool validRows(const core::StrArray& items, std::vector<std::string>& rows) {
    std::vector<std::string> invalid;
    rows = seDefinitionRows(items, invalid);
    if (invalid.empty()) return true;
    std::string message = "URL specification cannot contain Spaces (values in left column)." + gCR +
                          "Changes not saved. Correct values and try again." + gCR + gCR + "Invalid values:" + gCR;
    for (const std::string& spec : invalid) message += spec + gCR;
    MB_Info(message);
    return false;
}

void save(const std::vector<std::string>& definitions) {
    storeSEDefinitions(definitions);
    STTA_SEDefsLoad();
}

void addNewDefinition() {
    core::StrArray items;
    items.redim(0, 2);
    for (;;) {
        long result = 0;
        if (!showGrid("Enter NEW Search Engine referrer string definition.", "", items, result)) return;
        std::vector<std::string> rows;
        if (!validRows(items, rows)) continue;
        if (rows.empty()) return;
        std::vector<std::string> all = storedSEDefinitions();
        all.insert(all.end(), rows.begin(), rows.end());
        save(all);
        return;
    }
}

// One list of the re-sequencing dialog, from item 1; an empty list shows one blank item.
core::StrArray sequenceItems(const std::vector<std::string>& list) {
    core::StrArray items;
    items.redim(0, std::max<long>(1, static_cast<long>(list.size())));
    for (std::size_t i = 0; i < list.size(); ++i) items.set(static_cast<long>(i) + 1, list[i]);
    return items;
}

std::vector<std::string> nonBlank(const core::StrArray& items) {
    std::vector<std::string> out;
    for (long i = 1; i <= items.ubound(); ++i)
        if (!items[i].empty()) out.push_back(items[i]);
    return out;
}

void sortItems(core::StrArray& items) {
    std::vector<std::string> texts;
    for (long i = 1; i <= items.ubound(); ++i) texts.push_back(items[i]);
    core::sortIgnoringCase(texts);
    for (long i = 1; i <= items.ubound(); ++i) items.set(i, texts[static_cast<std::size_t>(i) - 1]);
}

}  // namespace

void STTA_SEDefsResequence() {
    std::vector<std::string> general, specific;
    std::string spec, params;
    for (const std::string& d : storedSEDefinitions()) {
        splitDefinition(d, spec, params);
        (isGeneralDomainSpec(core::lowerAscii(spec)) ? general : specific).push_back(d);
    }
    core::StrArray lists[2] = {sequenceItems(general), sequenceItems(specific)};
    const std::string texts[2] = {
        "General Domain defs [patterns that cover many domains of one engine, such as *.finder.*/* or "
        "http://*.seeker.*/*]",
        "Specific Domain defs [patterns for one site, such as http://search.example.com/* or "
        "*.lookup.example.org/*]"};
    const std::string switches[2] = {"ReSequence Specific Do&main Defs", "ReSequence General Do&main Defs"};
    int shown = 0;
    for (;;) {
        MB_SequenceArgs args{.spec = "9000|7000",
                             .options = MB_OptMaxButtonsPerLine(3),
                             .closingCaption = "&Back to definitions",
                             .extraButtons = "&Sort|" + switches[shown]};
        long selected = -1;
        const long r = MB_Sequence(texts[shown], "|SE Referrer Strings Definitions", lists[shown], 1, selected, args);
        std::vector<std::string> all = nonBlank(lists[0]);
        const std::vector<std::string> rest = nonBlank(lists[1]);
        all.insert(all.end(), rest.begin(), rest.end());
        storeSEDefinitions(all);
        if (r == 4) {
            sortItems(lists[shown]);
        } else if (r == 5) {
            shown = 1 - shown;
        } else {
            return;
        }
    }
}

void STTA_SEDefsEdit() {
    const std::string message = gCR + "Enter definitions for Search Engine referrer strings." + gCR + gCR +
                                "The left column contains URL spec." + gCR + "The right column contains values a,b,c " +
                                gCR + "where search term will be included in referrer as a=yyyy& or b=yyyy&, etc." +
                                gCR + gCR + "Press F1 for more info / help." + gCR;
    core::StrArray items = gridItems(storedSEDefinitions());
    for (;;) {
        long result = 0;
        if (!showGrid(message, "Chec&k vs. log file|Change Se&quence|Add Ne&w SE Def", items, result)) return;
        std::vector<std::string> rows;
        if (!validRows(items, rows)) continue;
        save(rows);
        if (result == 3) {
            STTA_SERefCheck();
        } else if (result == 4) {
            STTA_SEDefsResequence();
            STTA_SEDefsLoad();
        } else if (result == 5) {
            addNewDefinition();
        } else {
            return;
        }
        items = gridItems(storedSEDefinitions());
    }
}
