#include "window/control_values.h"

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/path_checks.h"
#include "core/stored_text.h"
#include "core/text.h"
#include "platform/sys/rt_error.h"

namespace {

const std::string kSpecSep = "|~~|";
// The enabling field of a spec: "True", "False" or a controlling control's number.
constexpr long kDependField = 22;
constexpr long kCountFromOneField = 15;

bool isListType(const std::string& type) { return type == "ListBox" || type == "ComboBox"; }

// The entry index of a control number: its position moved by the base.
long entryIndexOf(int number, const core::IntArray& numbers, long base) {
    return XCTL_CtlIndex(number, numbers) + 1 - base;
}

std::string pointerOf(const std::string& section, int number, const std::string& iniFile) {
    return INI_Get(section, std::to_string(number), iniFile, kIniMissingMarker);
}

void splitPointer(const std::string& pointer, const std::string& sectionOverride, std::string& section,
                  std::string& entry, int& mode) {
    section = sectionOverride.empty() ? CHUNKS_Get(1, pointer) : sectionOverride;
    entry = CHUNKS_Get(2, pointer);
    const std::string m = CHUNKS_Get(3, pointer);
    mode = m.empty() ? -1 : core::wholeOf<int>(TXT_Val(m));
}

// Items of a list control sit in columns 1.. of its row; column 0 holds the chosen
// position, counted from 0, or from 1 when spec field 15 is set. Loading and
// saving both go through these two, so a value always comes back to its own item.
bool countsFromOne(const std::string& entry) {
    return SYS32_StrIsTrue(CHUNKS_GetEx(kCountFromOneField + 1, kSpecSep, kChunksNoExclusion, entry, ""));
}
long positionOfColumn(long column, const std::string& entry) {
    return countsFromOne(entry) ? column : column - 1;
}
long columnOfPosition(long position, const std::string& entry) {
    return countsFromOne(entry) ? position : position + 1;
}

// A combo box shown by the dialog builder may hold its typed text in column 0 as the
// item after the first "|".
std::string chosenListText(const core::Table2D& rows, long row, const std::string& entry,
                           const std::string& type) {
    const std::string chosen = ARR_Item2D(rows, row, 0);
    if (type == "ComboBox" && chosen.find('|') != std::string::npos) return CHUNKS_Get(2, chosen);
    const long position = core::wholeOf<long>(TXT_Val(CHUNKS_Get(1, chosen)));
    const long column = columnOfPosition(position, entry);
    return position < 0 || column < 1 ? std::string() : ARR_Item2D(rows, row, column);
}

// A folder rule: "PDe" an existing folder, "PD" a valid folder name. With "Sv" in the
// rule the checked (normalised) name replaces the value.
std::string folderProblem(const std::string& code, const std::string& ruleText, std::string& value) {
    std::string folder = value, message;
    bool exists = false;
    bool ok = true;
    if (code == "PDe")
        ok = PAFN_CheckDirExists(folder, false, message);
    else if (code == "PD")
        ok = PAFN_CheckDirName(folder, false, message, exists);
    if (ok && folder != value && ruleText.find("Sv") != std::string::npos) value = folder;
    return ok ? "" : message;
}

// The message of a failing rule, "" when the value passes.
std::string ruleProblem(const core::StrArray& rule, const std::string& ruleText, std::string& value) {
    const std::string code = rule.inBounds(1) ? rule[1] : std::string();
    const char first = code.empty() ? '\0' : code[0];
    switch (first) {
    case 'N': {
        double number = 0;
        return core::parseNumber(value, number) ? "" : "Must be Numeric";
    }
    case '+':
        return core::vbVal(value) >= 0 ? "" : "Must be Positive";
    case '<': {
        const double limit = core::vbVal(code.substr(1));
        return core::vbVal(value) < limit ? "" : "Must be Less Than " + core::vbStr(limit);
    }
    case 'S': {
        if (core::lowerAscii(code) != "s-instr") return "";
        const bool matchCase = rule.inBounds(3) && SYS32_StrIsTrue(rule[3]);
        for (long i = 4; i <= rule.ubound(); ++i) {
            // An empty item would be found in every value.
            if (!rule[i].empty() && TXT_InStrEx(value, rule[i], matchCase))
                return ">>" + rule[i] + "<< characters not allowed." + gCRCR +
                       "Problem with data entered: " + value;
        }
        return "";
    }
    case 'P':
        return folderProblem(code, ruleText, value);
    default:
        throw sys::RtError(kErrBadRuleCode, "Unknown data-entry rule code \"" + code + "\".",
                           "XCTL_ValidateEntry");
    }
}

}  // namespace

std::string XCTL_EntryType(const std::string& entry) {
    std::string type = entry.substr(0, entry.find(kSpecSep));
    if (!type.empty() && type[0] == '_') type.erase(0, 1);
    return type;
}

long XCTL_CtlIndex(int number, const core::IntArray& numbers) {
    if (!numbers.hasBounds()) return -1;
    for (long i = numbers.lbound(); i <= numbers.ubound(); ++i)
        if (numbers[i] == number) return i;
    return -1;
}

void XCTL_DependRenumber(core::StrArray& entries, const core::IntArray& numbers, long base) {
    for (long k = 1; k <= entries.ubound(); ++k) {
        std::string entry = entries[k];
        // Spec field 22 is item 23 of the entry, after the type word.
        const std::string field = CHUNKS_GetEx(kDependField + 1, kSpecSep, kChunksNoExclusion, entry, "");
        if (field.empty() || field == "True" || field == "False") continue;
        const long value = core::wholeOf<long>(TXT_Val(field));
        const long r = XCTL_CtlIndex(static_cast<int>(value < 0 ? -value : value), numbers) + 1 - base;
        const std::string renumbered = r > 0 ? std::to_string(value < 0 ? -r : r) : std::string();
        CHUNKS_SetEx(kDependField + 1, entry, kSpecSep, kChunksNoExclusion, renumbered);
        entries.set(k, entry);
    }
}

std::string XCTL_LinkedValueGet(const std::string& type, const std::string& pointer,
                                const std::string& valuesFile, const std::string& sectionOverride) {
    std::string section, entry;
    int mode = -1;
    splitPointer(pointer, sectionOverride, section, entry, mode);
    const std::string value = INI_Get(section, entry, valuesFile, mode);
    if (type == "CheckBox") return SYS32_StrIsTrue(value) ? "1" : "0";
    return value;
}

void XCTL_LinkedValuePut(const std::string& type, const std::string& value,
                         const std::string& pointer, const std::string& valuesFile,
                         const std::string& sectionOverride) {
    std::string section, entry;
    int mode = -1;
    splitPointer(pointer, sectionOverride, section, entry, mode);
    if (type == "CheckBox")
        INI_Put(section, entry, std::string(TXT_IsTrue(value) ? "True" : "False"), valuesFile);
    else
        INI_Put(section, entry, value, valuesFile);
}

namespace {

// Calls fn(entry index, type word, value pointer) for each numbered control whose
// number has a pointer to its remembered value in the section.
template <class Fn>
void forEachRemembered(const std::string& section, const std::string& iniFile, const core::StrArray& entries,
                       const core::IntArray& numbers, long base, Fn fn) {
    for (long i = numbers.lbound(); i <= numbers.ubound(); ++i) {
        const int n = numbers[i];
        if (n <= 0) continue;
        const std::string pointer = pointerOf(section, n, iniFile);
        if (pointer == kIniNotFound) continue;
        const long k = entryIndexOf(n, numbers, base);
        fn(k, XCTL_EntryType(entries[k]), pointer);
    }
}

}  // namespace

void XCTL_CtlValuesLoad(const std::string& section, const std::string& iniFile,
                        const core::StrArray& entries, core::StrArray& values, core::Table2D& rows,
                        const core::IntArray& numbers, std::string& valuesFile,
                        const std::string& sectionOverride, long base) {
    if (valuesFile.empty()) valuesFile = iniFile;
    forEachRemembered(section, iniFile, entries, numbers, base,
                      [&](long k, const std::string& type, const std::string& pointer) {
        const std::string value = XCTL_LinkedValueGet(type, pointer, valuesFile, sectionOverride);
        if (!isListType(type)) {
            values.set(k, value);
            return;
        }
        for (long c = rows.colLBound(); c <= rows.colUBound(); ++c) {
            if (c >= 1 && ARR_Item2D(rows, k, c) == value) {
                rows.set(k, 0, positionOfColumn(c, entries[k]));
                break;
            }
        }
    });
}

void XCTL_CtlValuesSave(const std::string& section, const std::string& iniFile,
                        const core::StrArray& entries, const core::StrArray& values,
                        const core::Table2D& rows, const core::IntArray& numbers,
                        std::string& valuesFile, const std::string& sectionOverride, long base) {
    if (valuesFile.empty()) valuesFile = iniFile;
    forEachRemembered(section, iniFile, entries, numbers, base,
                      [&](long k, const std::string& type, const std::string& pointer) {
        const std::string value = isListType(type) ? chosenListText(rows, k, entries[k], type) : values[k];
        XCTL_LinkedValuePut(type, value, pointer, valuesFile, sectionOverride);
    });
}

void XCTL_ValidateEntry(const std::string& section, const std::string& iniFile,
                        core::StrArray& values, const core::IntArray& numbers,
                        std::string& message, long& failingEntry, long base) {
    message.clear();
    failingEntry = -1;
    for (long i = numbers.lbound(); i <= numbers.ubound(); ++i) {
        const int n = numbers[i];
        if (n <= 0) continue;
        const std::string rules = INI_Get(section, "C" + std::to_string(n), iniFile, kIniMissingMarker);
        if (rules == kIniNotFound) continue;
        const long k = entryIndexOf(n, numbers, base);
        core::StrArray ruleList;
        CHUNKS_SplitEx(rules, "|", "{}", ruleList, 1);
        for (long r = 1; r <= ruleList.ubound(); ++r) {
            core::StrArray rule;
            CHUNKS_SplitEx(ruleList[r], "|", kChunksNoExclusion, rule, 1);
            std::string value = values[k];
            const std::string problem = ruleProblem(rule, ruleList[r], value);
            if (value != values[k]) values.set(k, value);
            if (problem.empty()) continue;
            const std::string custom = rule.inBounds(2) ? rule[2] : std::string();
            message = custom.empty() ? problem : custom;
            failingEntry = k;
            return;
        }
    }
}
