#include "dialogs/extra_controls.h"

#include <new>

#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "core/stored_text.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "dialogs/control_spec.h"
#include "platform/sys/rt_error.h"

using namespace dlg;

namespace {

bool isBlank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

void storeCell(core::Table2D& rows, long row, long col, core::Cell value) {
    bool stored = false;
    ARR_AddRowUnique(rows, row, col, value, 0, 0, 0, stored);
}

void appendEntry(core::StrArray& entries, const std::string& entry, int error) {
    long index = 0;
    bool outOfMemory = false, appended = false;
    LLIST_StrArrAdd(entries, -1, entry, 0, index, outOfMemory, appended, false);
    if (outOfMemory) sys::raise(error, "MB_AddControl");
}

// Item n of a list of spec fields; a spec alone (without the type word) holds spec
// field m as item m, an entry as item m + 1.
std::string fieldOf(std::string_view fields, long n) {
    return CHUNKS_GetEx(n, kFieldSep, kChunksNoExclusion, fields, "");
}

void setFieldOf(std::string& fields, long n, std::string_view value) {
    CHUNKS_SetEx(n, fields, kFieldSep, kChunksNoExclusion, value);
}

// The running caption number, an Integer as the callers' button numbers are.
int addToCount(long n, const char* source) {
    long next = static_cast<long>(gMBListCount) + n;
    if (next > 32767 || next < -32768) sys::raise(sys::kErrOverflow, source);
    return static_cast<int>(next);
}

}  // namespace

long MB_AddControl(std::string_view type, std::string_view spec, std::string_view value,
                   MB_CtlEntry& ctl, bool reset) {
    if (reset) {
        ctl.entries.redim(0, 0);
        ctl.values.redim(0, 0);
        ctl.rows.redim(0, 0, 0, 0);
    }
    // Rows grow exactly to the cell needed, never with spare rows or columns.
    gArrGrowRows = 1;
    const std::string entry = std::string(type) + std::string(kFieldSep) + std::string(spec);
    if (!isListKind(typeWordOf(type))) {
        appendEntry(ctl.entries, entry, 9710);
        long k = ctl.entries.ubound();
        try {
            ctl.values.redimPreserve(k);
            ctl.values.set(k, std::string(value));
        } catch (const std::bad_alloc&) {
            sys::raise(9711, "MB_AddControl");
        }
        return k;
    }
    appendEntry(ctl.entries, entry, 9712);
    long k = ctl.entries.ubound();
    storeCell(ctl.rows, k, 1, std::string(value));
    ctl.values.redimPreserve(k);
    return k;
}

long MB_AddListCtl(const core::StrArray& items, std::string_view marked, long chosen,
                   std::string_view type, std::string spec, MB_CtlEntry& ctl, bool reset,
                   long first, long last) {
    const bool skipBlank = SYS32_StrIsTrue(fieldOf(spec, kSfSkipBlank));
    const bool countFrom1 = SYS32_StrIsTrue(fieldOf(spec, kSfCountFrom1));
    const bool marking = !marked.empty();
    core::StrArray marks;
    CHUNKS_Split(marked, marks, 0);
    if (first == -1) first = items.lbound();
    if (last == -1) last = items.ubound();
    // The item count includes the blank items, so it is taken before skipping them.
    if (fieldOf(spec, kSfSelectAll).empty())
        setFieldOf(spec, kSfSelectAll, std::to_string(last + 1 - first));
    if (skipBlank) {
        for (long i = first; i <= last; ++i) {
            if (!isBlank(items[i])) {
                first = i;
                break;
            }
        }
    }

    const long k = MB_AddControl(type, spec, items[first], ctl, reset);
    // Records the position of an item that one of the marks names, in item order.
    auto mark = [&](const std::string& item, long column) {
        for (const std::string& m : marks.items()) {
            if (m != item) continue;
            long p = countFrom1 ? column : column - 1;
            const core::Cell& cell = ctl.rows(k, 0);
            if (std::holds_alternative<std::monostate>(cell)) storeCell(ctl.rows, k, 0, p);
            else storeCell(ctl.rows, k, 0, core::vbCStr(cell) + "|" + std::to_string(p));
        }
    };
    // One growth to the last column, since long lists would otherwise be copied once
    // per item; a wider list added before keeps its columns.
    long lastColumn = 1;
    for (long i = first + 1; i <= last; ++i)
        if (!skipBlank || !isBlank(items[i])) ++lastColumn;
    if (lastColumn > ctl.rows.colUBound()) ctl.rows.redimPreserveCols(lastColumn);
    long column = 1;
    if (marking) mark(items[first], column);
    for (long i = first + 1; i <= last; ++i) {
        if (skipBlank && isBlank(items[i])) continue;
        ++column;
        if (marking) mark(items[i], column);
        storeCell(ctl.rows, k, column, items[i]);
    }
    // Positions count from 1 under field 15, marked or chosen alike.
    if (!marking && chosen >= 0 && chosen <= last)
        storeCell(ctl.rows, k, 0, chosen - first + (countFrom1 ? 1 : 0));
    return k;
}

long MB_AddListCtlStr(std::string_view items, std::string_view marked, long chosen,
                      std::string_view type, std::string_view spec, MB_CtlEntry& ctl, bool reset) {
    core::StrArray array;
    CHUNKS_Split(items, array, 0);
    return MB_AddListCtl(array, marked, chosen, type, std::string(spec), ctl, reset);
}

std::string MB_AddButtonCtl(bool resetNumber, std::string_view spec, std::string_view captions,
                            MB_CtlEntry& ctl, bool resetArrays, bool sameRow,
                            std::array<long, 6>& numbers) {
    if (resetNumber) gMBListCount = 0;
    const long n = TXT_CountOf(captions, "|", true) + 1;
    std::string result;
    for (long j = 1; j <= n; ++j) {
        long number = gMBListCount + j;
        if (j <= 6) numbers[static_cast<std::size_t>(j - 1)] = number;
        result += (j > 1 ? "|" : "") + std::to_string(number);
    }
    gMBListCount = addToCount(n, "MB_AddButtonCtl");
    std::string type = std::string(sameRow ? "_" : "") + std::string(kTypeCommandButton);
    MB_AddControl(type, spec, captions, ctl, resetArrays);
    return result;
}

int MB_AddToList(std::string_view caption, std::string& list, bool& reset) {
    if (reset) {
        gMBListCount = 0;
        list.clear();
        reset = false;
    }
    gMBListCount = addToCount(1, "MB_AddToList");
    if (!list.empty()) list += '|';
    list += caption;
    return gMBListCount;
}

long MB_CountButtons(const core::StrArray& entries, const core::StrArray& values) {
    long count = 0;
    for (long i = 1; i <= entries.ubound(); ++i) {
        if (typeWordOf(fieldOf(entries[i], 1)) != kTypeCommandButton) continue;
        // An empty caption list is still one button, as the add and the rows make it.
        const std::string captions = LLIST_StrArrItem(values, i, "");
        count += captions.empty() ? 1 : CHUNKS_Count(captions);
    }
    return count;
}

long MB_ExtraButtonCount(const MB_CtlEntry& ctl) { return MB_CountButtons(ctl.entries, ctl.values); }

std::string MB_ResultText(long row, const core::Table2D& rows, const std::string& dflt) {
    const core::Cell& cell = rows(row, 0);
    double chosen = 0;
    if (const long* l = std::get_if<long>(&cell)) chosen = static_cast<double>(*l);
    else if (const double* d = std::get_if<double>(&cell)) chosen = *d;
    else if (const std::string* s = std::get_if<std::string>(&cell)) chosen = core::vbCDbl(*s);
    if (chosen < 0) return dflt;
    return core::vbCStr(rows(row, core::vbCLng(chosen) + 1));
}

void MB_ResultsAddCol(const std::string& value, long column, core::Table2D& table) {
    if (!table.hasBounds()) sys::raise(sys::kErrSubscript, "MB_ResultsAddCol");
    if (column == -1) column = table.colUBound() + 1;
    storeCell(table, table.rowUBound(), column, value);
}

void MB_MarkEntry(long n, core::StrArray& entries) {
    const int field = entryField(kSfFocus);
    for (long i = 1; i <= entries.ubound(); ++i) {
        std::string entry = entries[i];
        if (i == n) setFieldOf(entry, field, "True");
        else if (!fieldOf(entry, field).empty()) setFieldOf(entry, field, "");
        else continue;
        entries.set(i, entry);
    }
}

std::string MB_EntryType(std::string_view entry, core::StrArray& fields) {
    CHUNKS_SplitEx(entry, kFieldSep, kChunksNoExclusion, fields, 0);
    return std::string(typeWordOf(fields[0]));
}

std::string MB_EntryCaption(const core::StrArray& fields, std::string_view value) {
    const std::string word = LLIST_StrArrItem(fields, 0, "");
    std::string_view type = typeWordOf(word);
    if (type == kTypeOptionButton || type == kTypeCheckBox) return LLIST_StrArrItem(fields, 1, "");
    if (type == kTypeLabel) return TXT_Replace(TXT_Replace(value, "&", "&&", true), "#H160#", "&", true);
    return {};
}

std::string MB_FindLastValue(std::string_view formOptions, bool& found, long& position) {
    position = CHUNKS_IndexOf(formOptions, "FndLastVal", "|", kChunksNoExclusion, true);
    found = position != -1;
    return found ? CHUNKS_Get(position + 1, formOptions) : std::string();
}
