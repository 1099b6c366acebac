#pragma once
// The common dialog a form owns: the properties its callers set and the two dialogs
// shown from them, non-native file Open and Save As dialogs and the font dialog. Every
// show is offered to the installed dialog responder first (kind "FileOpen" or
// "FileSave": entry 1 the file name, buttons "&Open|&Cancel" or "&Save|&Cancel"; kind
// "Font": entries 1-4 name, size, bold, italic, buttons "&OK|&Cancel").
#include <string>

class QWidget;

namespace window {

class CommonDialog {
public:
    // Error numbers of the control.
    static constexpr int kErrCancel = 32755;
    static constexpr int kErrInvalidFileName = 20477;
    // Flags of the Open dialog.
    static constexpr long kFlagHideReadOnly = 4;
    static constexpr long kFlagAllowMultiSelect = 512;
    static constexpr long kFlagFileMustExist = 4096;

    explicit CommonDialog(QWidget* owner = nullptr) : owner_(owner) {}

    // File Open: in, the proposed path; out, the chosen one.
    std::string FileName;
    std::string DialogTitle;
    std::string Filter;      // "Text files|*.txt|All files|*.*"
    long FilterIndex = 1;    // 1-based
    long Flags = 0;
    bool CancelError = false;

    // Font, in and out. Size in points.
    std::string FontName;
    double FontSize = 8;
    bool FontBold = false;
    bool FontItalic = false;

    // Cancel raises 32755 when CancelError is set; a proposed path in a folder that
    // does not exist raises 20477.
    void ShowOpen();
    // The same for a file to write; the caller judges a name that exists.
    void ShowSave();
    void ShowFont();

private:
    void showFileDialog(bool save);
    QWidget* owner_;
};

// "Name|pattern|..." as a Qt name-filter list: "Name (pattern);;...". "*.*" becomes
// "*", since names without a dot are files too.
std::string qtNameFilters(const std::string& filter);

}  // namespace window

// True when the user chose a font; it is then applied to the control.
bool OPENDLOG_Font(QWidget* control, window::CommonDialog& dialog);
// True when a file was chosen, its full name then in fileName; False after Cancel or
// an error (reported to the user).
bool OPENDLOG_File(std::string& fileName, long& flags, window::CommonDialog& dialog, std::string& filter,
                   long& filterIndex, std::string& title);
