#include "window/common_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QTreeView>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "core/dialog_responder.h"
#include "core/numbers.h"
#include "core/user_interface.h"
#include "platform/sys/rt_error.h"
#include "platform/ui/qt_text.h"

namespace window {

namespace {

// The chooser opens large enough for whole file names and dates, and a title that is
// an instruction is also shown in the box, where it is not cut.
void fitFileDialog(QFileDialog& box, const std::string& title) {
    const QScreen* screen = box.screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    box.resize(std::min(960, area.width() * 9 / 10), std::min(560, area.height() * 8 / 10));
    if (auto* tree = box.findChild<QTreeView*>()) {
        QHeaderView* header = tree->header();
        header->setStretchLastSection(false);
        for (int c = 1; c < header->count(); ++c) header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid || title.size() <= 20) return;
    auto* label = new QLabel(ui::toQString(title), &box);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    grid->addWidget(label, grid->rowCount(), 0, 1, grid->columnCount());
}

// Answers a responder gives through the box's own controls: entry values by number
// (1-based) and the pressed button (1-based; 0 while none).
class BoxDriver : public core::DlgDriver {
public:
    BoxDriver(const core::DlgView& view, std::vector<std::string>& values) : view_(view), values_(values) {}

    int pressed() const { return pressed_; }

    void setText(int entry, const std::string& text) override { value(entry) = text; }
    void setCheck(int entry, int checked) override { value(entry) = checked ? "1" : "0"; }
    void press(int button) override
    {
        if (button < 1 || button > static_cast<int>(view_.buttons.size())) refuse("no button " + std::to_string(button));
        pressed_ = button;
    }
    void press(const std::string& caption) override
    {
        for (std::size_t i = 0; i < view_.buttons.size(); ++i)
            if (core::sameCaption(view_.buttons[i], caption)) return press(static_cast<int>(i) + 1);
        refuse("no button \"" + caption + "\"");
    }
    void key(int vbKeyCode, int) override
    {
        if (vbKeyCode == 13) press(1);
        if (vbKeyCode == 27) closeBox();
    }
    void closeBox() override { pressed_ = view_.escButton; }
    void choose(int, const std::vector<int>&) override { refuse("no list"); }
    void click(int, int) override { refuse("no list"); }
    void dblClick(int, int) override { refuse("no list"); }

private:
    std::string& value(int entry)
    {
        if (entry < 1 || entry > static_cast<int>(values_.size())) refuse("no entry " + std::to_string(entry));
        return values_[static_cast<std::size_t>(entry) - 1];
    }
    [[noreturn]] void refuse(const std::string& what) const
    {
        throw core::UnexpectedDialog("the box \"" + view_.caption + "\" has " + what);
    }

    const core::DlgView& view_;
    std::vector<std::string>& values_;
    int pressed_ = 0;
};

// Offers the box to the responder; the button it pressed, 0 when none is installed.
int offerToResponder(core::DlgView& view, const std::vector<std::string>& labels, std::vector<std::string>& values)
{
    core::DlgResponder* responder = core::dialogResponder();
    if (!responder) return 0;
    view.escButton = static_cast<int>(view.buttons.size());
    view.dfltButton = 1;
    for (std::size_t i = 0; i < values.size(); ++i) {
        core::CtlView ctl;
        ctl.entry = static_cast<int>(i) + 1;
        ctl.type = "TextBox";
        ctl.labelBefore = labels[i];
        ctl.value = values[i];
        view.ctls.push_back(ctl);
    }
    BoxDriver driver(view, values);
    responder->respond(view, driver);
    if (driver.pressed() == 0) throw core::UnexpectedDialog("the box \"" + view.caption + "\" was left unanswered");
    return driver.pressed();
}

[[noreturn]] void raiseCancel() { throw sys::RtError(CommonDialog::kErrCancel, "Cancel was selected.", "CommonDialog"); }

}  // namespace

std::string qtNameFilters(const std::string& filter)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = filter.find('|', start);
        parts.push_back(filter.substr(start, bar == std::string::npos ? bar : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    std::string out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string patterns = parts[i + 1];
        for (char& ch : patterns)
            if (ch == ';') ch = ' ';
        std::string spaced;
        for (std::size_t at = 0; at < patterns.size();) {
            std::size_t end = patterns.find(' ', at);
            if (end == std::string::npos) end = patterns.size();
            std::string one = patterns.substr(at, end - at);
            if (one == "*.*") one = "*";
            if (!one.empty()) spaced += (spaced.empty() ? "" : " ") + one;
            at = end + 1;
        }
        if (!out.empty()) out += ";;";
        out += parts[i] + " (" + spaced + ")";
    }
    return out;
}

void CommonDialog::ShowOpen() { showFileDialog(false); }

void CommonDialog::ShowSave() { showFileDialog(true); }

void CommonDialog::showFileDialog(bool save)
{
    QString folder, name;
    if (!FileName.empty()) {
        const QFileInfo proposed(ui::toQString(FileName));
        if (proposed.isDir()) {
            folder = proposed.absoluteFilePath();
        } else {
            folder = proposed.absolutePath();
            name = proposed.fileName();
        }
        if (!QDir(folder).exists())
            throw sys::RtError(kErrInvalidFileName, "The file name is not valid.", "CommonDialog");
    }

    core::DlgView view;
    view.kind = save ? "FileSave" : "FileOpen";
    view.caption = DialogTitle.empty() ? (save ? "Save As" : "Open") : DialogTitle;
    view.message = Filter;
    view.buttons = {save ? "&Save" : "&Open", "&Cancel"};
    std::vector<std::string> values = {FileName};
    if (const int button = offerToResponder(view, {"File name"}, values)) {
        if (button != 1) raiseCancel();
        FileName = values[0];
        return;
    }

    QFileDialog box(owner_, ui::toQString(view.caption));
    box.setOption(QFileDialog::DontUseNativeDialog);
    box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The caller judges a name that exists (it may refuse to write over it).
    if (save) box.setOption(QFileDialog::DontConfirmOverwrite);
    box.setFileMode(Flags & kFlagFileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!Filter.empty()) {
        const QStringList filters = ui::toQString(qtNameFilters(Filter)).split(QStringLiteral(";;"));
        box.setNameFilters(filters);
        if (FilterIndex >= 1 && FilterIndex <= filters.size()) box.selectNameFilter(filters[FilterIndex - 1]);
    }
    if (!folder.isEmpty()) box.setDirectory(folder);
    if (!name.isEmpty()) box.selectFile(name);
    fitFileDialog(box, view.caption);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) {
        if (CancelError) raiseCancel();
        return;
    }
    FileName = ui::fromQString(box.selectedFiles().first());
}

void CommonDialog::ShowFont()
{
    core::DlgView view;
    view.kind = "Font";
    view.caption = "Font";
    view.buttons = {"&OK", "&Cancel"};
    // Without the locale: Qt sets it from the environment.
    std::vector<std::string> values = {FontName, core::vbStr(FontSize), FontBold ? "1" : "0", FontItalic ? "1" : "0"};
    if (const int button = offerToResponder(view, {"Font", "Size", "Bold", "Italic"}, values)) {
        if (button != 1) raiseCancel();
        FontName = values[0];
        FontSize = core::vbVal(values[1]);
        FontBold = values[2] == "1";
        FontItalic = values[3] == "1";
        return;
    }

    QFont initial(ui::toQString(FontName));
    if (FontSize > 0) initial.setPointSizeF(FontSize);
    initial.setBold(FontBold);
    initial.setItalic(FontItalic);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, owner_, QStringLiteral("Font"),
                                              QFontDialog::DontUseNativeDialog);
    if (!ok) {
        if (CancelError) raiseCancel();
        return;
    }
    FontName = ui::fromQString(chosen.family());
    FontSize = chosen.pointSizeF();
    FontBold = chosen.bold();
    FontItalic = chosen.italic();
}

}  // namespace window

bool OPENDLOG_Font(QWidget* control, window::CommonDialog& dialog)
{
    const QFont current = control->font();
    dialog.FontName = ui::fromQString(current.family());
    dialog.FontSize = current.pointSizeF();
    dialog.FontBold = current.bold();
    dialog.FontItalic = current.italic();
    dialog.CancelError = true;
    try {
        dialog.ShowFont();
    } catch (const sys::RtError& e) {
        if (e.number() == window::CommonDialog::kErrCancel) return false;
        throw;
    }
    if (!dialog.FontName.empty()) {
        QFont font = current;
        font.setFamily(ui::toQString(dialog.FontName));
        if (dialog.FontSize > 0) font.setPointSizeF(dialog.FontSize);
        font.setBold(dialog.FontBold);
        font.setItalic(dialog.FontItalic);
        control->setFont(font);
    }
    return true;
}

bool OPENDLOG_File(std::string& fileName, long& flags, window::CommonDialog& dialog, std::string& filter,
                   long& filterIndex, std::string& title)
{
    dialog.Flags = flags == 0 ? window::CommonDialog::kFlagHideReadOnly | window::CommonDialog::kFlagFileMustExist
                 : flags == -1 ? 0
                               : flags;
    dialog.CancelError = true;
    std::string proposed = fileName;
    // A folder given with its separator opens in that folder.
    if (!proposed.empty() && (proposed.back() == '/' || proposed.back() == '\\')) proposed.pop_back();
    dialog.FileName = proposed;
    if (!filter.empty()) {
        dialog.Filter = filter;
        dialog.FilterIndex = filterIndex;
    }
    if (!title.empty()) dialog.DialogTitle = title;
    try {
        dialog.ShowOpen();
    } catch (const sys::RtError& e) {
        if (e.number() == window::CommonDialog::kErrInvalidFileName) {
            std::string none, noFilter, noTitle;
            long firstFilter = 1;
            if (!OPENDLOG_File(none, flags, dialog, noFilter, firstFilter, noTitle)) return false;
            fileName = none;
            return true;
        }
        if (e.number() == window::CommonDialog::kErrCancel) return false;
        core::ui().info("Error No: " + std::to_string(e.number()) + " - " + e.description(), "");
        return false;
    }
    fileName = dialog.FileName;
    return true;
}
