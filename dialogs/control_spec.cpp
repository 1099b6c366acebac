#include "dialogs/control_spec.h"

#include <algorithm>
#include <cmath>

#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "core/stored_text.h"

namespace dlg {

std::string_view typeWordOf(std::string_view raw, bool* sameRow) {
    bool marked = raw.size() > 1 && (raw.front() == '_' || raw.back() == '_');
    if (sameRow) *sameRow = marked;
    if (!marked) return raw;
    return raw.front() == '_' ? raw.substr(1) : raw.substr(0, raw.size() - 1);
}

bool isListKind(std::string_view typeWord) {
    return typeWord == kTypeListBox || typeWord == kTypeComboBox || typeWord == kTypeGrid;
}

namespace {

// The field as a whole number, or nothing when it holds a fraction.
std::optional<long> wholeNumber(std::string_view field) {
    double v = TXT_Val(field);
    if (v != std::floor(v) || std::fabs(v) > 2147483647.0) return std::nullopt;
    return static_cast<long>(v);
}

bool isButton(long v, long buttonCount) { return v >= 1 && v <= buttonCount; }

}  // namespace

long listDoubleClickAction(std::string_view field, long buttonCount) {
    auto v = wholeNumber(field);
    if (v && (isButton(*v, buttonCount) || *v == -1 || *v == -2 || *v == -3)) return *v;
    return -2;
}

long listClickAction(std::string_view field, long buttonCount) {
    auto v = wholeNumber(field);
    if (v && (isButton(*v, buttonCount) || *v == -1 || *v == -4)) return *v;
    return -1;
}

}  // namespace dlg

using namespace dlg;

MB_CtlSpec MB_CtlSpec::parse(std::string_view entry) {
    MB_CtlSpec spec;
    core::StrArray fields;
    CHUNKS_SplitEx(entry, kFieldSep, kChunksNoExclusion, fields, 0);
    spec.fields = fields.items();
    spec.type = std::string(typeWordOf(spec.fields[0], &spec.sameRow));
    return spec;
}

const std::string& MB_CtlSpec::text(int m) const {
    static const std::string empty;
    return reaches(m) ? fields[static_cast<std::size_t>(m)] : empty;
}

double MB_CtlSpec::number(int m) const { return TXT_Val(text(m)); }

bool MB_CtlSpec::flag(int m) const { return SYS32_StrIsTrue(text(m)); }

KindCode MB_CtlSpec::kind(bool pictureExists) const {
    if (type == kTypeTextBox) return flag(kSfVariant) ? kKindTextBoxM : kKindTextBox;
    if (type == kTypeOptionButton) return kKindOption;
    if (type == kTypeCheckBox) return kKindCheck;
    if (type == kTypeLabel) return kKindLabel;
    if (type == kTypeShape) return kKindShape;
    if (type == kTypeGrid) return kKindGrid;
    if (type == kTypeComboBox) {
        double style = isEmpty(kSfVariant) ? 2 : number(kSfVariant);
        return style == 0 ? kKindComboStyle0 : kKindCombo;
    }
    if (type == kTypeListBox) {
        double mode = number(kSfVariant);
        return mode == 1 ? kKindListMulti1 : mode == 2 ? kKindListMulti2 : kKindList;
    }
    if (type == kTypeCommandButton) return pictureExists ? kKindImage : kKindButton;
    if (type == kTypeLine) return kKindLine;
    return kKindNone;
}

double MB_CtlSpec::width(double formWidth, double leftMargin, double fontSize) const {
    double column = formWidth - leftMargin - kRightRoom;
    if (isEmpty(kSfWidth)) return column;
    double w = number(kSfWidth);
    if (fontSize / 8 > 1.2) w *= fontSize / 8;
    return std::clamp(w, 0.0, std::max(0.0, column));
}

double MB_CtlSpec::height(double dflt) const {
    double h = number(kSfHeight);
    return h > 0 ? h : dflt;
}

double MB_CtlSpec::spacerHeight() const {
    if (fieldCount() < kSfHeight) return kDefaultRowHeight;
    return std::max(0.0, number(kSfHeight));
}

std::vector<std::pair<int, std::string>> MB_CtlSpec::listTagItems(long buttonCount) const {
    std::vector<std::pair<int, std::string>> items = {
        {6, std::to_string(listDoubleClickAction(text(kSfBackColor), buttonCount))},
        {9, std::to_string(listClickAction(text(kSfClickAction), buttonCount))},
    };
    if (type == kTypeGrid) {
        items.push_back({7, flag(kSfSkipBlank) ? "True" : "False"});
        return items;
    }
    items.push_back({7, "False"});
    items.push_back({8, flag(kSfSelStart) ? "False" : "True"});
    if (flag(kSfCountFrom1)) items.push_back({10, "True"});
    return items;
}

std::optional<std::pair<long, long>> MB_CtlSpec::textSelection(long textLength) const {
    double length = number(kSfSelLength), start = number(kSfSelStart);
    if (!(length > 0) || start < 0) return std::nullopt;
    long s = static_cast<long>(start);
    long n = std::max(0L, std::min(static_cast<long>(length), textLength - s));
    return std::make_pair(s, n);
}

std::pair<double, double> MB_ShapeFit(double rowHeight, double percent) {
    double h = rowHeight * percent / 100;
    // An integer halving, as the old arithmetic did.
    double offset = static_cast<double>(static_cast<long>(core::roundHalfEven(rowHeight - h)) / 2);
    return {h, offset};
}

MB_LineGeometry MB_LinePlace(const MB_CtlSpec& spec, MB_LineState& state, bool firstEntry,
                             double formWidth, double formHeight) {
    MB_LineGeometry g;
    g.borderWidth = std::max(1.0, spec.isEmpty(kSfWidth) ? 1.0 : spec.number(kSfWidth));
    double length = spec.isEmpty(kSfHeight) ? formHeight : spec.number(kSfHeight);
    if (!spec.isEmpty(kSfBold)) {
        g.x1 = spec.number(kSfBold);
    } else if (firstEntry) {
        g.x1 = formWidth / 2;
    } else {
        double end = state.any ? state.x1 + state.advance : 0;
        double gap = spec.isEmpty(kSfBackColor) ? state.advance / 2 : spec.number(kSfBackColor);
        g.x1 = end + gap;
    }
    g.y1 = spec.number(kSfItalic);
    g.x2 = spec.isEmpty(kSfFontSize) ? g.x1 : spec.number(kSfFontSize);
    g.y2 = spec.isEmpty(kSfFontName) ? g.y1 + length : spec.number(kSfFontName);
    g.borderStyle = spec.isEmpty(kSfFocus) ? 1 : static_cast<int>(spec.number(kSfFocus));
    g.borderColor = static_cast<long>(spec.number(kSfSelectAll));
    state = {true, g.x1, spec.number(kSfVariant)};
    return g;
}

std::optional<std::pair<long, long>> MB_GridSortColumns(std::string_view field, long cols) {
    std::size_t bar = field.find('_');
    long first = core::wholeOf<long>(TXT_Val(field.substr(0, bar)));
    long second = bar == std::string_view::npos ? first
                                                : core::wholeOf<long>(TXT_Val(field.substr(bar + 1)));
    if (first < 0 || first > cols - 1) return std::nullopt;
    if (second < first || second > cols - 1) second = first;
    return std::make_pair(first, second);
}

MB_RowHeights MB_GridRowHeights(std::string_view field, long rows) {
    if (field.size() >= 2 && field.front() == '{' && field.back() == '}')
        field = field.substr(1, field.size() - 2);
    const std::string first = CHUNKS_Get(2, field), last = CHUNKS_Get(3, field);
    MB_RowHeights r;
    r.height = std::max(1.0, TXT_Val(CHUNKS_Get(1, field)));
    r.first = first.empty() ? 0 : std::max(0L, core::wholeOf<long>(TXT_Val(first)));
    r.last = last.empty() ? rows - 1 : std::min(rows - 1, core::wholeOf<long>(TXT_Val(last)));
    return r;
}

MB_ComboChoice MB_ComboChoiceParse(std::string_view column0) {
    std::string_view first = column0.substr(0, column0.find('|'));
    MB_ComboChoice choice;
    if (first.substr(0, 5) == "CBtxt") {
        choice.isText = true;
        choice.text = std::string(first.substr(5));
    } else {
        choice.position = core::wholeOf<long>(TXT_Val(first));
    }
    return choice;
}

long MB_ParseNums8(std::string& list, std::array<long, 8>& nums, std::string& rest, long& next,
                   bool addOne) {
    core::StrArray items;
    CHUNKS_Split(list, items, 1);
    for (long k = 1; k <= 8; ++k)
        nums[static_cast<std::size_t>(k - 1)] = core::vbCLng(TXT_Val(LLIST_StrArrItem(items, k, "")));
    next = nums[0] + 1;
    if (addOne) {
        for (long& n : nums) ++n;
        for (long k = 1; k <= items.ubound(); ++k) items.set(k, core::vbStr(TXT_Val(items[k]) + 1));
        list = CHUNKS_Join(items, 1);
    }
    rest = items.ubound() > 8 ? CHUNKS_Join(items, 9) : std::string();
    return nums[0];
}

long MB_GridStateParse(const core::Table2D& rows, long row, long column, std::array<long, 8>& nums,
                       std::string& rest, long& next, bool addOne) {
    std::string text = ARR_Item2D(rows, row, column);
    return MB_ParseNums8(text, nums, rest, next, addOne);
}
