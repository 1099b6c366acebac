#include "dialogs/control_layout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cmath>
#include <set>

#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "core/program_paths.h"
#include "core/stored_text.h"
#include "core/text.h"
#include "dialogs/button_rows.h"
#include "dialogs/control_arrays.h"
#include "dialogs/control_geometry.h"
#include "dialogs/control_spec.h"
#include "dialogs/enabling_rules.h"
#include "dialogs/extra_controls.h"
#include "dialogs/message_text.h"
#include "dialogs/msgbox_form.h"
#include "dialogs/text_measurer.h"
#include "platform/grid/flex_grid.h"
#include "platform/sys/rt_error.h"
#include "platform/ui/colours.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/twips.h"
#include "window/form_ops.h"
#include "window/grid_operations.h"

using namespace dlg;

namespace {

constexpr int kErrSkipBlankNeedsCount = 71717;
constexpr int kErrImageButtonRole = 52532;

// Errors of colour, border, enabling and grid settings leave the design value.
template <class F>
void tolerant(F&& f) {
    try {
        f();
    } catch (const sys::RtError&) {
    }
}

void setTagItem(QWidget* w, long n, const std::string& value) {
    std::string tag = ui::tag(w);
    CHUNKS_Set(n, tag, value);
    ui::setTag(w, tag);
}

// A picture file named by a button entry: relative names live under the data folder.
std::string picturePath(const std::string& name) {
    if (name.empty()) return {};
    const std::string path = name.front() == '/' ? name : gAppPath + name;
    return QFileInfo(ui::toQString(path)).isFile() ? path : std::string();
}

std::set<long> markedPositions(const core::Table2D& rows, long i) {
    core::LngArray marks;
    CHUNKS_ToLngArray(ARR_Item2D(rows, i, 0), marks, 0, true);
    std::set<long> out;
    if (ARR_Item2D(rows, i, 0).empty()) return out;
    for (long m : marks.items()) out.insert(m);
    return out;
}

class Layout {
public:
    Layout(Msgbxform* form, const MB_FontRec& base, MBLayoutRec& layout, MBButtspec& buttons, double widthLimit,
           std::array<int, 15>& owners, core::StrArray& entryMap, const core::StrArray& buttonCaptions,
           core::StrArray& entries, core::StrArray& values, core::Table2D& rows,
           const std::function<void()>& placeMainButtons)
        : form_(form), base_(base), layout_(layout), buttons_(buttons), widthLimit_(widthLimit), owners_(owners),
          entryMap_(entryMap), buttonCount_(std::max(0L, buttonCaptions.ubound())), entries_(entries),
          values_(values), rows_(rows), placeMainButtons_(placeMainButtons) {}

    MB_WidthRequest run(long firstEntry) {
        if (layout_.FormW == 0) layout_.FormW = form_->Width();
        buttons_.ButtsPlaced = false;
        if (entries_.ubound() >= 1) {
            entryMap_.redimPreserve(std::max(entryMap_.ubound(), 0L) + entries_.ubound());
            members_.redim(0, entries_.ubound());
            for (long i = 1; i <= entries_.ubound(); ++i) entry(firstEntry - 1 + i, i);
            MB_EnableRulesStore(form_, ruleLists_, entries_, members_);
        }
        MB_CtlFontApply(form_->fSzCtl, {}, base_);
        return request_;
    }

private:
    void entry(long k, long i) {
        core::StrArray fields;
        const std::string type = MB_EntryType(entries_[i], fields);
        spec_ = MB_CtlSpec::parse(entries_[i]);
        layout_.NextTop += layout_.VGap;
        if (type == kTypeJustAddHeight) {
            layout_.NextTop += spec_.spacerHeight() - layout_.VGap;
            return;
        }
        if (type == kTypeAddButtonsHere) {
            if (!buttons_.ButtsPlaced) {
                placeMainButtons_();
                buttons_.ButtsPlaced = true;
            }
            return;
        }
        QWidget* w = create(type, fields, k, i);
        if (!w) return;  // an empty or unknown type word: only its gap
        if (type == kTypeLine) {
            layout_.NextTop -= layout_.VGap;
            return;
        }
        if (type == kTypeTextBox || type == kTypeComboBox || type == kTypeListBox || type == kTypeGrid ||
            type == kTypeLabel)
            setWidthFitting(w, spec_.width(layout_.FormW, layout_.CtlLeft, w->font().pointSizeF()));
        if (i > 1) {
            if (!spec_.sameRow) row_.counter = 0;  // every row is measured at its first same-row control
            double rowWidth = 0;
            MB_RowPlaceCtl(form_, layout_, entries_[i].substr(0, entries_[i].find(kFieldSep)), row_, w, i,
                           entries_, values_, rowWidth, base_);
        }
        row_.prevRect = twRect(w);
        row_.prev = w;
        if (type != kTypeShape) layout_.NextTop += twRect(w).height();
    }

    QWidget* create(const std::string& type, const core::StrArray& fields, long k, long i) {
        if (type == kTypeCommandButton) return buttonRow(fields, k, i);
        int kind = kKindNone, member = 0;
        QWidget* w = nullptr;
        if (type == kTypeListBox || type == kTypeComboBox) {
            if (type == kTypeListBox) MB_LoadListCtl(form_, true, k, fields, owners_, entryMap_, kind);
            else MB_LoadComboCtl(form_, true, k, fields, owners_, entryMap_, kind);
            w = gMBCurCtl;
            member = ui::controlIndex(w);
        } else {
            kind = spec_.kind();
            if (kind == kKindNone) return nullptr;
            bool optionWas = false;
            if (kind == kKindOption) optionWas = static_cast<QRadioButton*>(form_->fOption[0])->isChecked();
            w = loadMember(form_, kind, k, owners_, entryMap_, member);
            // Loading never changes the group's choice.
            if (kind == kKindOption && optionWas) static_cast<QRadioButton*>(form_->fOption[0])->setChecked(true);
            if (kind == kKindLabel) setAutoSize(static_cast<QLabel*>(w), true, true);
        }
        members_.set(i, member);
        place(w, kind, member, type);
        kindSteps(w, type, kind, i);
        return w;
    }

    void place(QWidget* w, int kind, int member, const std::string& type) {
        setTagItem(w, 3, std::to_string(owners_[static_cast<std::size_t>(kind)]));
        tolerant([&] {
            w->setVisible(true);
            setTwRect(w, QRectF(layout_.CtlLeft, layout_.NextTop, layout_.FormW - layout_.CtlLeft - kRightRoom,
                                kDefaultRowHeight));
            if (spec_.number(kSfHeight) > 0) {
                setTwHeight(w, spec_.number(kSfHeight));
                if (auto* label = qobject_cast<QLabel*>(w)) setAutoSize(label, false, label->wordWrap());
            }
        });
        if (lastTab_) QWidget::setTabOrder(lastTab_, w);
        if (w->focusPolicy() != Qt::NoFocus) lastTab_ = w;
        if (spec_.fieldCount() >= kSfEnabling)
            MB_EnableRuleAdd(spec_.text(kSfEnabling), w, kind, member, ruleLists_);
        if (type != kTypeShape && type != kTypeLine && kind != kKindImage) MB_CtlFontApply(w, fieldsOf(), base_);
        static const std::set<std::string> focusKinds{std::string(kTypeTextBox), std::string(kTypeOptionButton),
                                                      std::string(kTypeCheckBox), std::string(kTypeListBox),
                                                      std::string(kTypeComboBox), std::string(kTypeGrid),
                                                      std::string(kTypeCommandButton)};
        if (focusKinds.count(type) && spec_.flag(kSfFocus)) {
            gMBFocusCtl = w;
            layout_.FocusSet = true;
        }
    }

    core::StrArray fieldsOf() const {
        core::StrArray fields;
        fields.redim(0, static_cast<long>(spec_.fields.size()) - 1);
        for (long m = 0; m < static_cast<long>(spec_.fields.size()); ++m) fields.set(m, spec_.fields[m]);
        return fields;
    }

    void kindSteps(QWidget* w, const std::string& type, int kind, long i) {
        const std::string value = LLIST_StrArrItem(values_, i, "");
        if (type == kTypeTextBox) textBox(w, kind, value);
        else if (type == kTypeOptionButton) {
            setCaption(w, spec_.text(kSfWidth));
            if (SYS32_StrIsTrue(value)) static_cast<QRadioButton*>(w)->setChecked(true);
        } else if (type == kTypeCheckBox) {
            w->setEnabled(true);
            setCaption(w, spec_.text(kSfWidth));
            const int v = core::wholeOf<int>(TXT_Val(value));
            static_cast<QCheckBox*>(w)->setCheckState(v == 1 ? Qt::Checked : v == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
            enabledField(w);
        } else if (type == kTypeLabel) label(static_cast<QLabel*>(w), value);
        else if (type == kTypeShape) shape(w);
        else if (type == kTypeLine) line(w, i);
        else if (type == kTypeListBox) {
            fill(w, type, i);
            if (!spec_.flag(kSfCountFrom1)) {
                auto* list = static_cast<QListWidget*>(w);
                for (long p : markedPositions(rows_, i))
                    if (p >= 0 && p < list->count()) markItem(list, static_cast<int>(p));
            }
        } else if (type == kTypeComboBox) {
            fill(w, type, i);
            combo(static_cast<QComboBox*>(w), i);
        } else if (type == kTypeGrid) {
            fill(w, type, i);
            gridSettings(static_cast<grid::FlexGrid*>(w), i);
        }
    }

    void enabledField(QWidget* w) {
        if (!spec_.isEmpty(kSfEnabled)) tolerant([&] { w->setEnabled(spec_.flag(kSfEnabled)); });
    }

    void textBox(QWidget* w, int kind, const std::string& value) {
        if (kind == kKindTextBoxM) static_cast<QPlainTextEdit*>(w)->setPlainText(ui::toDisplayText(value));
        else static_cast<QLineEdit*>(w)->setText(ui::toQString(value));
        if (kind == kKindTextBox) {
            auto* edit = static_cast<QLineEdit*>(w);
            if (spec_.flag(kSfSelectAll)) edit->selectAll();
            if (layout_.Show)
                if (auto sel = spec_.textSelection(edit->text().size())) edit->setSelection(int(sel->first), int(sel->second));
        } else if (spec_.flag(kSfSelectAll)) {
            static_cast<QPlainTextEdit*>(w)->selectAll();
        }
        if (spec_.fieldCount() < kSfEnabled) w->setEnabled(true);
        else enabledField(w);
        if (!spec_.isEmpty(kSfBackColor)) tolerant([&] { ui::setBackColor(w, core::vbCLng(spec_.text(kSfBackColor))); });
    }

    void label(QLabel* w, const std::string& value) {
        std::string caption = messageCaption(value);
        while (!caption.empty() && caption.back() == ' ') caption.pop_back();
        setCaption(w, caption);
        tolerant([&] {
            w->setFrameShape(spec_.number(kSfBackColor) == 1 ? QFrame::Box : QFrame::NoFrame);
            if (!spec_.isEmpty(kSfCountFrom1)) ui::setForeColor(w, core::vbCLng(spec_.text(kSfCountFrom1)));
            QFont font = w->font();
            font.setUnderline(spec_.flag(kSfSkipBlank));
            w->setFont(font);
            if (!spec_.isEmpty(kSfSorted)) ui::setBackColor(w, core::vbCLng(spec_.text(kSfSorted)));
        });
        if (isAutoSize(w)) fitLabel(w);
    }

    void shape(QWidget* w) {
        auto* s = static_cast<ShapeControl*>(w);
        s->shape = spec_.fieldCount() < kSfBold ? 0 : static_cast<int>(spec_.number(kSfBold));
        const double placed = twRect(w).height();
        const auto [height, offset] = MB_ShapeFit(placed, spec_.number(kSfWidth));
        setTwRect(w, QRectF(twRect(w).left(), twRect(w).top() + offset, twRect(w).width(), height));
        layout_.NextTop += placed;
        enabledField(w);
    }

    void line(QWidget* w, long i) {
        auto* l = static_cast<LineControl*>(w);
        const MB_LineGeometry g = MB_LinePlace(spec_, lineState_, i == 1, layout_.FormW, form_->Height());
        l->borderWidth = static_cast<int>(g.borderWidth);
        l->borderStyle = g.borderStyle;
        l->borderColor = g.borderColor;
        l->setEnds(g.x1, g.y1, g.x2, g.y2);
    }

    void fill(QWidget* w, const std::string& type, long i) {
        const bool isGrid = type == kTypeGrid;
        const bool countFrom1 = spec_.flag(kSfCountFrom1);
        if (!isGrid) {
            if (spec_.flag(kSfSkipBlank) && !countFrom1) sys::raise(kErrSkipBlankNeedsCount, "MB_LayoutControls");
            if (countFrom1) setTagItem(w, 10, "True");
        }
        const bool skipBlank = !isGrid && spec_.flag(kSfSkipBlank);
        long count = std::max(0L, rows_.colUBound());
        if (spec_.number(kSfSelectAll) > 0) count = std::min(count, static_cast<long>(spec_.number(kSfSelectAll)));
        const std::set<long> marked = markedPositions(rows_, i);
        auto* grid = qobject_cast<grid::FlexGrid*>(w);
        auto* list = qobject_cast<QListWidget*>(w);
        auto* combo = qobject_cast<QComboBox*>(w);
        if (grid) grid->Clear();
        if (list) list->clear();
        if (combo) combo->clear();
        for (long k = 1; k <= count; ++k) {
            const std::string item = i <= rows_.rowUBound() ? ARR_Item2D(rows_, i, k) : std::string();
            if (grid) {
                const int tabs = static_cast<int>(std::count(item.begin(), item.end(), '\t'));
                if (grid->Cols() < tabs + 2) grid->setCols(tabs + 2);
                grid->AddItem(std::to_string(k - 1) + "\t" + item);
                continue;
            }
            if (skipBlank && item.find_first_not_of(' ') == std::string::npos) continue;
            const QString text = ui::toQString(item);
            int newIndex = 0;
            if (list) {
                list->addItem(text);
                newIndex = list->count() - 1;
            } else {
                combo->addItem(text);
                newIndex = combo->count() - 1;
                // A filled combo box starts with nothing chosen, as Qt's does not.
                if (newIndex == 0) combo->setCurrentIndex(-1);
            }
            if (!countFrom1) continue;
            if (list) list->item(newIndex)->setData(Qt::UserRole, static_cast<qlonglong>(k));
            else combo->setItemData(newIndex, static_cast<qlonglong>(k), Qt::UserRole);
            if (!marked.count(k)) continue;
            if (list) markItem(list, newIndex);
            else combo->setCurrentIndex(newIndex);
        }
        for (const auto& [n, text] : spec_.listTagItems(buttonCount_)) setTagItem(w, n, text);
    }

    // A marked item is selected; the first also becomes the current one, so that the
    // arrow keys go on from it rather than from the top of the list.
    static void markItem(QListWidget* list, int row) {
        if (list->selectedItems().isEmpty()) list->setCurrentRow(row, QItemSelectionModel::NoUpdate);
        list->item(row)->setSelected(true);
    }

    void combo(QComboBox* w, long i) {
        const MB_ComboChoice choice = MB_ComboChoiceParse(ARR_Item2D(rows_, i, 0));
        if (choice.isText) {
            if (w->isEditable()) w->setEditText(ui::toQString(choice.text));
            else w->setCurrentIndex(w->findText(ui::toQString(choice.text)));
        } else if (!spec_.flag(kSfCountFrom1)) {
            CTLSIMPLE_ListIndexSet(w, choice.position);
        }
    }

    // A header row keeps its whole caption whatever width was asked for: the widths were
    // chosen for a narrower font than the ones found here.
    static void fitHeaderCaptions(grid::FlexGrid* g) {
        if (g->FixedRows() < 1) return;
        const QFontMetricsF metrics(g->font());
        for (int c = 0; c < g->Cols(); ++c) {
            const double need =
                std::ceil((metrics.horizontalAdvance(ui::toQString(g->TextMatrix(0, c))) + 8) * ui::twipsPerPixelX());
            if (g->ColWidth(c) > 0 && g->ColWidth(c) < need) g->setColWidth(c, static_cast<int>(need));
        }
    }

    void gridSettings(grid::FlexGrid* g, long i) {
        setTagItem(g, 7, spec_.flag(kSfSkipBlank) ? "True" : "False");
        tolerant([&] {
            g->setFixedRows(0);
            g->RemoveItem(0);
            g->RemoveItem(0);
        });
        tolerant([&] { g->setFixedRows(static_cast<long>(spec_.number(kSfVariant))); });
        tolerant([&] { g->setFixedCols(static_cast<int>(spec_.number(kSfSelStart)) + 1); });
        tolerant([&] { g->setColWidth(0, static_cast<int>(spec_.number(kSfColumn0Width))); });
        tolerant([&] {
            core::StrArray widths;
            CHUNKS_Split(unbraced(spec_.text(kSfSelLength)), widths, 1);
            for (long c = 1; c <= widths.ubound() && c < g->Cols(); ++c)
                if (!widths[c].empty()) g->setColWidth(static_cast<int>(c), core::wholeOf<int>(TXT_Val(widths[c])));
        });
        tolerant([&] { fitHeaderCaptions(g); });
        tolerant([&] {
            core::StrArray aligns;
            CHUNKS_Split(unbraced(spec_.text(kSfEnabled)), aligns, 1);
            for (long c = 1; c <= aligns.ubound() && c < g->Cols(); ++c) {
                if (aligns[c].empty()) continue;
                g->setColAlignment(static_cast<int>(c), core::wholeOf<int>(TXT_Val(aligns[c])));
                g->setFixedAlignment(static_cast<int>(c), core::wholeOf<int>(TXT_Val(aligns[c])));
            }
        });
        tolerant([&] { GRID_WidenToRightAlignedText(*g); });
        if (!spec_.isEmpty(kSfScrollBars)) tolerant([&] { g->setScrollBars(static_cast<int>(spec_.number(kSfScrollBars))); });
        if (!spec_.isEmpty(kSfCountFrom1)) tolerant([&] { g->setGridLines(spec_.flag(kSfCountFrom1)); });

        std::array<long, 8> nums{};
        std::string rest;
        long next = 0;
        MB_GridStateParse(rows_, i, 0, nums, rest, next, false);
        const long given = CHUNKS_Count(ARR_Item2D(rows_, i, 0));
        std::string rememberedItem;
        const bool sorted = spec_.flag(kSfSorted) && spec_.reaches(kSfSortColumns);
        if (sorted) {
            rememberedItem = GRDFLX_CellText(*g, nums[0], 0);
            tolerant([&] {
                if (auto cols = MB_GridSortColumns(spec_.text(kSfSortColumns), g->Cols())) {
                    g->setCol(static_cast<int>(cols->first));
                    g->setColSel(static_cast<int>(cols->second));
                    GRDFLX_SortOnColumn(*g, true);
                }
            });
        }
        if (!spec_.isEmpty(kSfRowHeights)) tolerant([&] {
            const MB_RowHeights h = MB_GridRowHeights(spec_.text(kSfRowHeights), g->Rows());
            for (long r = h.first; r <= h.last; ++r) g->setRowHeight(r, static_cast<int>(h.height));
        });
        tolerant([&] {
            g->setRow(nums[0]);
            g->setCol(static_cast<int>(nums[1] + 1));
            if (sorted) {
                for (long r = 1; r < g->Rows(); ++r) {
                    if (GRDFLX_CellText(*g, r, 0) != rememberedItem) continue;
                    g->setRow(r);
                    g->setCol(1);
                    break;
                }
            }
        });
        tolerant([&] {
            g->setRow(nums[2]);
            g->setCol(static_cast<int>(nums[3] + 1));
            g->setRowSel(nums[4]);
            g->setColSel(static_cast<int>(nums[5] + 1));
            g->setTopRow(given < 7 ? g->Row() : nums[6]);
            g->setLeftCol(static_cast<int>(given < 8 ? g->Col() : nums[7]));
        });
    }

    static std::string unbraced(const std::string& field) {
        if (field.size() >= 2 && field.front() == '{' && field.back() == '}') return field.substr(1, field.size() - 2);
        return field;
    }

    QWidget* buttonRow(const core::StrArray& fields, long k, long i) {
        const double gap = spec_.number(kSfWidth);
        QWidget* measure = form_->fSzCtl;
        MB_CtlFontApply(measure, fields, base_);
        core::StrArray captions;
        double w = 0;
        MB_MeasureCaptions(QtTextMeasurer(measure->font()), buttons_, LLIST_StrArrItem(values_, i, ""), false, captions, w);
        w += buttons_.WidthPad;
        const long n = captions.count();
        const double start = spec_.flag(kSfSelectAll)
                                 ? layout_.CtlLeft
                                 : std::max(0.0, core::roundHalfEven(((layout_.FormW - layout_.CtlLeft - kRightRoom) -
                                                                      n * w - (n - 1) * gap) / 2));
        const std::string picture = picturePath(spec_.text(kSfBackColor));
        QWidget* last = nullptr;
        for (long c = 1; c <= n; ++c) {
            const long b = ++buttons_.LastButton;
            int member = static_cast<int>(b);
            QWidget* button = nullptr;
            int kind = kKindButton;
            if (!picture.empty()) {
                kind = kKindImage;
                button = loadMember(form_, kKindImage, k, owners_, entryMap_, member);
                static_cast<QLabel*>(button)->setPixmap(QPixmap(ui::toQString(picture)));
            } else {
                button = form_->fButton.exists(member) ? form_->fButton[member] : form_->fButton.load(member);
                entryMap_.set(k, "12|" + std::to_string(b));
            }
            members_.set(i, member);
            place(button, kind, member, picture.empty() ? std::string(kTypeCommandButton) : std::string());
            if (spec_.isEmpty(kSfHeight)) setTwHeight(button, twRect(form_->fButton[0]).height());
            setCaption(button, captions[captions.lbound() + c - 1]);
            setTwWidth(button, w);
            setTwLeft(button, start + (w + gap) * static_cast<double>(c - 1));
            if (b == buttons_.EscButton || b == buttons_.DfltButton) {
                if (!picture.empty()) sys::raise(kErrImageButtonRole, "MB_LayoutControls");
                auto* push = static_cast<QPushButton*>(button);
                if (b == buttons_.EscButton) form_->setCancelButton(push);
                if (b == buttons_.DfltButton) push->setDefault(true);
            }
            button->setToolTip(ui::toQString(spec_.fieldCount() < kSfVariant ? std::string() : spec_.text(kSfVariant)));
            last = button;
        }
        widen(last);
        return last;
    }

    void widen(QWidget* last) {
        if (!last) return;
        const double right = twRect(last).right() + layout_.CtlLeft;
        if (layout_.FormW >= widthLimit_ || right <= form_->ScaleWidth()) return;
        if (right + (form_->Width() - form_->ScaleWidth()) < widthLimit_) {
            layout_.FormW = right;
            request_.wantedWidth = right;
        } else {
            request_.tooWide = true;
            request_.wantedWidth = widthLimit_;
        }
        request_.resized = true;
    }

    Msgbxform* form_;
    const MB_FontRec& base_;
    MBLayoutRec& layout_;
    MBButtspec& buttons_;
    double widthLimit_;
    std::array<int, 15>& owners_;
    core::StrArray& entryMap_;
    long buttonCount_;
    core::StrArray& entries_;
    core::StrArray& values_;
    core::Table2D& rows_;
    const std::function<void()>& placeMainButtons_;

    MB_CtlSpec spec_;
    core::LngArray members_;
    core::StrArray ruleLists_;
    MB_RowState row_;
    MB_LineState lineState_;
    QWidget* lastTab_ = nullptr;
    MB_WidthRequest request_;
};

}  // namespace

MB_WidthRequest MB_LayoutControls(Msgbxform* form, const MB_FontRec& base, MBLayoutRec& layout,
                                  MBButtspec& buttons, double widthLimit, std::array<int, 15>& owners,
                                  core::StrArray& entryMap, const core::StrArray& buttonCaptions,
                                  core::StrArray& entries, core::StrArray& values, core::Table2D& rows,
                                  long firstEntry, long firstButton,
                                  const std::function<void()>& placeMainButtons) {
    buttons.LastButton = firstButton;
    Layout run(form, base, layout, buttons, widthLimit, owners, entryMap, buttonCaptions, entries, values, rows,
               placeMainButtons);
    return run.run(firstEntry);
}
