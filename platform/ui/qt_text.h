#pragma once
// Text crossing the Qt edge. Inside the program a text is bytes; a widget shows them
// as UTF-8, or as Latin-1 when they are not valid UTF-8 (old log files and INI values).
#include <QString>
#include <string>

namespace ui {

// Bytes to a QString: UTF-8, else Latin-1.
QString toQString(const std::string& bytes);
// As toQString, with CR LF, CR and LF all made line breaks, for display.
QString toDisplayText(const std::string& bytes);
// A window title shown as it stands: Qt would take "[*]" in it for the marker of
// unsaved changes, so it is doubled, which Qt shows as "[*]".
QString toWindowTitle(const std::string& bytes);
// A widget's text back to bytes (UTF-8).
std::string fromQString(const QString& text);

}  // namespace ui
