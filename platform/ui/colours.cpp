#include "platform/ui/colours.h"

#include <QWidget>
#include <set>
#include <string>

#include "platform/ui/controls.h"

namespace ui {
namespace {

constexpr const char* kBackColor = "BackColor";
constexpr const char* kForeColor = "ForeColor";

bool isEditType(const std::string& t) {
    static const std::set<std::string> edit{"TextBox", "ListBox", "ComboBox",
                                            "FileListBox", "DirListBox", "DriveListBox"};
    return edit.count(t) > 0;
}

long defaultBack(const QWidget* w) { return isEditType(vbType(w)) ? kSysWindowBackground : kSysButtonFace; }
long defaultFore(const QWidget* w) { return isEditType(vbType(w)) ? kSysWindowText : kSysButtonText; }

}  // namespace

bool isSysColour(long colour) { return (colour & kSysColourFlag) != 0; }

QPalette::ColorRole sysColourRole(long colour) {
    switch (colour & 0xFF) {
    case 1: case 3: case 4: case 10: case 11: return QPalette::Window;
    case 2: case 13: return QPalette::Highlight;
    case 5: return QPalette::Base;
    case 6: case 21: return QPalette::Shadow;
    case 7: case 8: case 19: return QPalette::WindowText;
    case 9: case 14: return QPalette::HighlightedText;
    case 12: case 16: return QPalette::Dark;
    case 17: return QPalette::PlaceholderText;
    case 18: return QPalette::ButtonText;
    case 20: return QPalette::Light;
    case 22: return QPalette::Midlight;
    case 23: return QPalette::ToolTipText;
    case 24: return QPalette::ToolTipBase;
    default: return QPalette::Button;  // 0 scroll bars, 15 button face
    }
}

QColor toQColor(long colour, const QPalette& palette) {
    if (isSysColour(colour)) return palette.color(sysColourRole(colour));
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
                  static_cast<int>(colour >> 16 & 0xFF));
}

long fromQColor(const QColor& c) { return rgb(c.red(), c.green(), c.blue()); }

bool hasBackColor(const QWidget* w) {
    static const std::set<std::string> none{"Line", "Timer", "Image", "HScrollBar", "VScrollBar"};
    return none.count(vbType(w)) == 0;
}

bool hasForeColor(const QWidget* w) {
    static const std::set<std::string> none{"CommandButton", "Line", "Shape", "Timer", "Image",
                                            "HScrollBar", "VScrollBar"};
    return none.count(vbType(w)) == 0;
}

long backColor(const QWidget* w) {
    const QVariant v = w->property(kBackColor);
    return v.isValid() ? static_cast<long>(v.toLongLong()) : defaultBack(w);
}

long foreColor(const QWidget* w) {
    const QVariant v = w->property(kForeColor);
    return v.isValid() ? static_cast<long>(v.toLongLong()) : defaultFore(w);
}

bool setBackColor(QWidget* w, long colour) {
    if (!hasBackColor(w)) return false;
    w->setProperty(kBackColor, static_cast<qlonglong>(colour));
    QPalette p = w->palette();
    const QColor c = toQColor(colour, QPalette());
    const std::string type = vbType(w);
    if (isEditType(type)) {
        p.setColor(QPalette::Base, c);
    } else if (type == "CommandButton") {
        p.setColor(QPalette::Button, c);
    } else {
        p.setColor(QPalette::Window, c);
        w->setAutoFillBackground(true);
    }
    w->setPalette(p);
    return true;
}

bool setForeColor(QWidget* w, long colour) {
    if (!hasForeColor(w)) return false;
    w->setProperty(kForeColor, static_cast<qlonglong>(colour));
    QPalette p = w->palette();
    const QColor c = toQColor(colour, QPalette());
    for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) p.setColor(role, c);
    w->setPalette(p);
    return true;
}

}  // namespace ui
