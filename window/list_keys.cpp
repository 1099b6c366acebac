#include "window/list_keys.h"

#include <QComboBox>
#include <QListWidget>
#include <algorithm>

#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/scoped_value.h"
#include "core/text.h"
#include "platform/ui/qt_text.h"
#include "window/form_ops.h"

namespace {

constexpr int kShiftCtrl = 2;

bool isDigitKey(int keyCode) { return keyCode >= '0' && keyCode <= '9'; }
bool isLetterKey(int keyCode) { return keyCode >= 'A' && keyCode <= 'Z'; }

// No painting of the steps in between.
class NoUpdates {
public:
    explicit NoUpdates(QWidget* w) : w_(w), was_(w->updatesEnabled()) { w_->setUpdatesEnabled(false); }
    ~NoUpdates() { w_->setUpdatesEnabled(was_); }
    NoUpdates(const NoUpdates&) = delete;
    NoUpdates& operator=(const NoUpdates&) = delete;

private:
    QWidget* w_;
    bool was_;
};

std::string stored(const std::string& section, const std::string& entry, const std::string& iniFile)
{
    return INI_Get(section, entry, iniFile, kIniMissingMarker);
}

// A stored Boolean as VB's CBool reads it; false when it is none.
bool readBool(const std::string& text, bool& value)
{
    if (core::lowerAscii(text) == "true") return value = true, true;
    if (core::lowerAscii(text) == "false") return value = false, true;
    double number = 0;
    if (!core::parseNumber(text, number)) return false;
    value = number != 0;
    return true;
}

void readFont(QWidget* control, const std::string& section, const std::string& prefix, const std::string& iniFile)
{
    const core::ScopedValue<bool> noWrite(gIniNoWrite, true);
    const std::string name = stored(section, prefix + "Fontname", iniFile);
    if (name == kIniNotFound) return;
    QFont font = control->font();
    font.setFamily(ui::toQString(name));
    double size = 0;
    if (core::parseNumber(stored(section, prefix + "Size", iniFile), size) && size > 0) font.setPointSizeF(size);
    bool flag = false;
    if (readBool(stored(section, prefix + "Bold", iniFile), flag)) font.setBold(flag);
    if (readBool(stored(section, prefix + "Italic", iniFile), flag)) font.setItalic(flag);
    control->setFont(font);
}

void writeFont(const QWidget* control, const std::string& section, const std::string& prefix,
               const std::string& iniFile)
{
    if (gIniNoWrite) return;
    const QFont font = control->font();
    INI_Put(section, prefix + "Fontname", ui::fromQString(font.family()), iniFile);
    INI_Put(section, prefix + "Size", font.pointSizeF(), iniFile);
    INI_Put(section, prefix + "Bold", font.bold(), iniFile);
    INI_Put(section, prefix + "Italic", font.italic(), iniFile);
}

void copyFont(const std::string& sections, const std::string& prefix, const std::string& iniFile)
{
    const std::size_t bar = sections.find('|');
    if (bar == std::string::npos) return;
    const std::string source = sections.substr(0, bar), target = sections.substr(bar + 1);
    if (source.empty() || target.empty() || stored(source, prefix + "Fontname", iniFile) == kIniNotFound) return;
    for (const char* word : {"Fontname", "Size", "Bold", "Italic"})
        INI_Put(target, prefix + word, stored(source, prefix + word, iniFile), iniFile);
}

// The next row after `current` (wrapping, `current` itself last) whose text starts
// with the character, case ignored; -1 when none does.
template <class TextAt>
int nextStartingWith(int count, int current, int keyCode, TextAt textAt)
{
    const char wanted = static_cast<char>(keyCode);
    for (int step = 1; step <= count; ++step) {
        const int row = (current + step + count) % count;
        const std::string text = textAt(row);
        if (!text.empty() && core::upperAscii(text.substr(0, 1))[0] == wanted) return row;
    }
    return -1;
}

}  // namespace

void CTLNOMB_FontIni(const std::string& mode, QWidget* control, const std::string& section,
                     const std::string& entryPrefix, const std::string& iniFile)
{
    if (mode == "g") readFont(control, section, entryPrefix, iniFile);
    else if (mode == "p") writeFont(control, section, entryPrefix, iniFile);
    else if (mode == "c") copyFont(section, entryPrefix, iniFile);
}

void CTLNOMB_ActiveCtlType(const QWidget* form, std::string& value, std::string& typeName)
{
    value.clear();
    typeName = "Not defined";
    const QWidget* active = form ? form->focusWidget() : nullptr;
    if (active && active != form) CTLSIMPLE_TypeName(active, value, typeName);
}

// Only 0-9 and A-Z: key-down codes 97-122 are keypad keys and F1-F11, not letters.
bool CTLNOMB_ListTypeAhead(QWidget* list, int keyCode, int shift, const std::string& iniFile, bool& handled,
                           bool digits)
{
    handled = false;
    if (!isDigitKey(keyCode) && !isLetterKey(keyCode)) return false;
    const int mask = INI_GetInt("Main", "SHIFT MASK REPOSition LB", iniFile, kIniMissingZero);
    if (digits && isDigitKey(keyCode)) shift = mask;
    if (shift == mask) {
        handled = true;
        return true;
    }
    const NoUpdates locked(list);
    if (auto* box = qobject_cast<QListWidget*>(list)) {
        if (shift == 0 || shift == kShiftCtrl) CTLNOMB_ListRepositionMulti(box, keyCode);
    } else if (auto* combo = qobject_cast<QComboBox*>(list)) {
        CTLNOMB_ListRepositionSingle(combo, keyCode);
    }
    return false;
}

void CTLNOMB_ListSelSave(const QListWidget* list, std::vector<std::string>& record)
{
    record.assign(1, std::string());
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected()) record.push_back(ui::fromQString(list->item(i)->text()));
    record[0] = list->currentRow() < 0 ? " -1 " : ui::fromQString(list->currentItem()->text());
}

void CTLNOMB_ListSelRestore(QListWidget* list, const std::vector<std::string>& record)
{
    list->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
    for (int i = 0; i < list->count(); ++i) {
        const std::string text = ui::fromQString(list->item(i)->text());
        if (!record.empty() && text == record[0]) list->setCurrentRow(i, QItemSelectionModel::NoUpdate);
        if (record.size() > 1 && std::find(record.begin() + 1, record.end(), text) != record.end())
            list->item(i)->setSelected(true);
    }
    if (!record.empty() && record[0] == " -1 ") list->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
}

void CTLNOMB_ListSelClear(QListWidget* list)
{
    for (int i = 0; i < list->count(); ++i) list->item(i)->setSelected(false);
}

void CTLNOMB_ListSelCurrent(QListWidget* list, bool& request)
{
    if (!request) return;
    request = false;
    for (int i = 0; i < list->count(); ++i) list->item(i)->setSelected(i == list->currentRow());
}

std::string CTLNOMB_ListItemText(const QListWidget* list, int index, long start, long length)
{
    if (index < 0 || index >= list->count()) return {};
    const std::string text = ui::fromQString(list->item(index)->text());
    if (start >= 1 && length >= 0 && start <= static_cast<long>(text.size()))
        return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length));
    return text;
}

void CTLNOMB_ListRepositionSingle(QComboBox* list, int keyCode)
{
    const int row = nextStartingWith(list->count(), list->currentIndex(), keyCode,
                                     [&](int i) { return ui::fromQString(list->itemText(i)); });
    if (row >= 0) list->setCurrentIndex(row);
}

// The current item moves; the selection and, unless the item is out of sight, the
// scroll position stay.
void CTLNOMB_ListRepositionMulti(QListWidget* list, int keyCode)
{
    const int row = nextStartingWith(list->count(), list->currentRow(), keyCode,
                                     [&](int i) { return ui::fromQString(list->item(i)->text()); });
    if (row < 0) return;
    if (list->selectionMode() == QAbstractItemView::SingleSelection) {
        list->setCurrentRow(row);
    } else {
        list->setCurrentRow(row, QItemSelectionModel::NoUpdate);
    }
    list->scrollToItem(list->item(row));
}
