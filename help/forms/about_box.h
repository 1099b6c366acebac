#pragma once
// The About box of the Help menu.
#include <string>

// Shows the About text in a message box with one "&OK" button. The main window's
// command passes empty texts and, as folder note, where the shared parameters are.
void ABOUT_TextShow(const std::string& versionWord, const std::string& prefix, const std::string& trailing,
                    const std::string& folderNote);
