#pragma once
// The application's answers to the generic modules: which INI file "::*" stands for,
// the message boxes' key hook, and the help page of a command code. The routing rows
// point at the path globals themselves, so a change made through a set is seen by
// every other reader of that global.
#include <functional>
#include <string>

#include "core/program_paths.h"
#include "core/shell_hooks.h"
#include "core/user_interface.h"

// Mode 1 copies the routed path global into `file`, mode 2 copies `file` into it; a
// section the table lacks (names compare exactly) leaves `file` alone.
void STTA_IniSectFile(int mode, const std::string& section, const std::string& key, std::string& file);
std::string STTA_IniSectFileGet(const std::string& section, const std::string& key);
void STTA_IniSectFileSet(const std::string& section, const std::string& key, std::string file);

// F1 (key code 112) shows the help page of the last menu command; other keys are the
// box's own.
void STTA_MBKeyDown(core::UiHandle form, int keyCode, int shift);
// The help page of a command: the help folder, the code's first letter and ".htm",
// with the whole code as topic, so the commands of one menu share a page.
void STTA_HelpShow(const std::string& code);

// The hooks this application leaves empty: the file finder's per-match hook ends a
// counted walk at its first match, its folder hook lets every walk descend, shell
// actions keep their text, and the file-action hook does nothing.
bool STTA_HookStrPass(int code, const std::string& text, int extra1, int extra2);
bool STTA_HookFalse();
std::string STTA_HookStrCopy(const std::string& text);
void STTA_HookEmpty2();
// Called after a font key in a box; this application adds nothing.
void STTA_HookEmpty1(int keyCode, int shift);
// Offered every INI read and write; always empty, so the INI store does its own work.
std::string STTA_HookEmptyVariant(int code, const std::string& section, const std::string& entry,
                                  const std::string& iniFile, const std::string& value);

namespace shell {

// Shows a help page at a topic ("" for the contents). The help window registers it;
// until one is registered, help requests show nothing.
using HelpViewer = std::function<void(const std::string& file, const std::string& topic)>;
void setHelpViewer(HelpViewer viewer);

// The hooks registered with core at start-up.
class AppShellHooks : public core::ShellHooks {
public:
    std::string iniSectFileGet(const std::string& section, const std::string& key) override;
    void iniSectFileSet(const std::string& section, const std::string& key, const std::string& file) override;
    bool hookStrPass(int code, const std::string& text, int extra1, int extra2) override;
    bool hookFalse() override;
    std::string hookStrCopy(const std::string& text) override;
    void hookEmpty1(int keyCode, int shift) override;
    void hookEmpty2() override;
    std::string iniValueHook(int code, const std::string& section, const std::string& entry,
                             const std::string& file, const std::string& value) override;
    void mbKeyDown(int& keyCode, int& shift) override;
    dao::Database* siteDatabase() override;
    std::string currentCommand() override { return gCurrMnu; }
};

// Registers the application's hooks with core (idempotent).
void installShellHooks();

}  // namespace shell
