#include "dialogs/controls_from_ini.h"

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/text.h"
#include "window/control_values.h"

namespace {

constexpr int kMissingIsEmpty = 3;
constexpr int kMissingIsNotFound = 1;

struct Definition {
    std::string type, spec, value, kindName, kind;
    int number = 0;
};

Definition readDefinition(const std::string& text, const std::string& defSection, const std::string& iniFile) {
    Definition d;
    d.type = CHUNKS_Get(1, text);
    d.spec = INI_Get(defSection, CHUNKS_Get(2, text), iniFile, kMissingIsEmpty);
    d.value = INI_Get(defSection, CHUNKS_Get(3, text), iniFile, kMissingIsEmpty);
    d.number = static_cast<int>(TXT_Val(CHUNKS_Get(4, text)));
    d.kindName = CHUNKS_Get(5, text);
    d.kind = core::lowerAscii(d.kindName);
    return d;
}

long addControl(const Definition& d, const std::string& defSection, const std::string& iniFile, MB_CtlEntry& ctl,
                bool reset) {
    if (d.kind == "oparr") {
        // The value is the selected item followed by the items.
        const std::string selected = CHUNKS_Get(1, d.value);
        const std::size_t bar = d.value.find('|');
        const std::string items = bar == std::string::npos ? std::string() : d.value.substr(bar + 1);
        return MB_AddListCtlStr(items, selected, -1, d.type, d.spec, ctl, reset);
    }
    std::string spec = d.spec;
    if (d.kind.starts_with("opctldta")) spec += INI_Get(defSection, d.kindName, iniFile, kMissingIsEmpty);
    return MB_AddControl(d.type, spec, d.value, ctl, reset);
}

void storeNumber(core::IntArray& numbers, long position, int number) {
    if (!numbers.hasBounds()) numbers.redim(0, position);
    else if (position > numbers.ubound()) numbers.redimPreserve(position);
    numbers.set(position, number);
}

}  // namespace

void XCTL_CtlsFromIni(const std::string& section, const std::string& entry, const std::string& iniFile,
                      bool reset, MB_CtlEntry& ctl, core::IntArray& numbers, std::string& defSection,
                      bool redim, long base, bool& noButtonAdded, long& extraButtons) {
    const std::string where = INI_Get(section, entry, iniFile, kMissingIsNotFound);
    defSection = CHUNKS_Get(1, where);
    if (where == kIniNotFound) return;
    const std::string list = INI_Get(defSection, CHUNKS_Get(2, where), iniFile, kMissingIsNotFound);
    if (list == kIniNotFound || list.empty()) return;
    core::StrArray definitions;
    CHUNKS_SplitEx(list, "|", "{}", definitions, 0);
    if (redim) numbers.redim(0, definitions.count() - 1 + base);

    bool first = true;
    for (const std::string& text : definitions.items()) {
        const Definition d = readDefinition(text, defSection, iniFile);
        const long k = addControl(d, defSection, iniFile, ctl, first && reset);
        first = false;
        storeNumber(numbers, k - 1 + base, d.number);
        if (d.type.find("CommandButton") != std::string::npos) {
            noButtonAdded = false;
            core::StrArray captions;
            CHUNKS_Split(d.value, captions, 0);
            extraButtons += captions.count();
        }
    }
    XCTL_DependRenumber(ctl.entries, numbers, base);
}
