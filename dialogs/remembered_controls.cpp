#include "dialogs/remembered_controls.h"

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/text.h"
#include "dialogs/ready_dialogs.h"
#include "window/control_values.h"

namespace {

// Missing spec and value entries read as empty.
constexpr int kMissingIsEmpty = 3;

void storeNumber(core::IntArray& numbers, long position, int number) {
    if (!numbers.hasBounds()) numbers.redim(0, position);
    else if (position > numbers.ubound()) numbers.redimPreserve(position);
    numbers.set(position, number);
}

}  // namespace

void XCTL_CtlsFromIni(const std::string& section, const std::string& entry, const std::string& iniFile,
                      bool reset, MB_CtlEntry& ctl, core::IntArray& numbers, std::string& defSection,
                      bool redimNumbers, long base, bool& noButtonAdded, long& extraButtons) {
    const std::string where = INI_Get(section, entry, iniFile, kIniMissingMarker);
    if (where == kIniNotFound) return;
    defSection = CHUNKS_Get(1, where);
    const std::string defEntry = CHUNKS_Get(2, where);
    const std::string list = INI_Get(defSection, defEntry, iniFile, kIniMissingMarker);
    if (list == kIniNotFound || list.empty()) return;
    core::StrArray defs;
    CHUNKS_SplitEx(list, "|", "{}", defs, 1);
    if (redimNumbers) numbers.redim(0, base + defs.ubound() - 1);

    for (long d = 1; d <= defs.ubound(); ++d) {
        const std::string& def = defs[d];
        const std::string type = CHUNKS_Get(1, def);
        std::string spec = INI_Get(defSection, CHUNKS_Get(2, def), iniFile, kMissingIsEmpty);
        std::string value = INI_Get(defSection, CHUNKS_Get(3, def), iniFile, kMissingIsEmpty);
        const std::string kind = core::lowerAscii(CHUNKS_Get(5, def));
        const bool resetNow = reset && d == 1;
        long k = 0;
        if (kind == "oparr") {
            const std::string selected = CHUNKS_Get(1, value);
            const std::size_t bar = value.find('|');
            const std::string items = bar == std::string::npos ? std::string() : value.substr(bar + 1);
            k = MB_AddListCtlStr(items, selected, -1, type, MB_SpecToTagForm(spec), ctl, resetNow);
        } else {
            if (kind.rfind("opctldta", 0) == 0)
                spec += INI_Get(defSection, CHUNKS_Get(5, def), iniFile, kMissingIsEmpty);
            k = MB_AddControl(type, MB_SpecToTagForm(spec), value, ctl, resetNow);
        }
        storeNumber(numbers, k - 1 + base, core::wholeOf<int>(TXT_Val(CHUNKS_Get(4, def))));
        if (type.find("CommandButton") != std::string::npos) {
            noButtonAdded = false;
            extraButtons += CHUNKS_Count(value);
        }
    }
    XCTL_DependRenumber(ctl.entries, numbers, base);
}

void dlg::loadRemembered(MB_RememberedCtls& r, MB_CtlEntry& ctl, core::IntArray& numbers, bool reset,
                         long& extraButtons) {
    std::string defSection;
    bool noButton = true;
    XCTL_CtlsFromIni(r.section, r.entry, r.iniFile, reset, ctl, numbers, defSection, true, 0, noButton,
                     extraButtons);
    XCTL_CtlValuesLoad(r.section, r.iniFile, ctl.entries, ctl.values, ctl.rows, numbers, r.valuesFile,
                       r.sectionOverride);
}

void dlg::saveRemembered(MB_RememberedCtls& r, const MB_CtlEntry& ctl, const core::IntArray& numbers) {
    XCTL_CtlValuesSave(r.section, r.iniFile, ctl.entries, ctl.values, ctl.rows, numbers, r.valuesFile,
                       r.sectionOverride);
}
