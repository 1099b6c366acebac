#pragma once
// Application knowledge that the generic core modules call back into. The shell
// registers its hooks at start-up; the defaults do nothing, which is what the
// generic modules expect of an application that fills no hook.
#include <string>

namespace dao {
class Database;
}

namespace core {

class ShellHooks {
public:
    virtual ~ShellHooks() = default;
    // The INI file that "::*" stands for in this section (in section "Main", for this
    // key); "" when the section is not routed.
    virtual std::string iniSectFileGet(const std::string& section, const std::string& key) {
        return {};
    }
    // Records that the routed section now lives in another file.
    virtual void iniSectFileSet(const std::string& section, const std::string& key,
                                const std::string& file) {}
    // The file finder hands it each match when a count limit is set; the answer is
    // whether the walk goes on, so false ends it at the first match.
    virtual bool hookStrPass(int code, const std::string& text, int extra1, int extra2) {
        return false;
    }
    // Asked by the pattern walk before each sub-folder; false lets it descend.
    virtual bool hookFalse() { return false; }
    virtual std::string hookStrCopy(const std::string& text) { return text; }
    // Offered every INI read (code 1) and write (code 2) first: a non-empty answer is
    // the value read, or ends the write, so an application could keep settings
    // elsewhere.
    virtual std::string iniValueHook(int code, const std::string& section, const std::string& entry,
                                     const std::string& file, const std::string& value) {
        return {};
    }
    // After a font key in a dialog box.
    virtual void hookEmpty1(int keyCode, int shift) {}
    virtual void hookEmpty2() {}
    virtual void hookEmpty3() {}
    // Every key-down in a dialog box (VB key code and Shift bits, keypad keys already
    // made main-keyboard keys); F1 there shows help for the current command.
    virtual void mbKeyDown(int& keyCode, int& shift) {}
    // The current site's database, for the log import's commands that read it
    // (test reads and checks); null while no site is open.
    virtual dao::Database* siteDatabase() { return nullptr; }
    // The code of the main window's last command ("" before any), which a dialog box
    // names its bound key for.
    virtual std::string currentCommand() { return {}; }
};

ShellHooks& shellHooks();
// The caller keeps ownership; nullptr restores the empty hooks.
void setShellHooks(ShellHooks* hooks);

// Installs hooks for a scope (nullptr: the empty ones; none given: keeps those there)
// and puts back the hooks found at its start however the scope ends, so that no hooks
// object outlives its installation.
class ScopedShellHooks {
public:
    ScopedShellHooks() : previous_(&shellHooks()) {}
    explicit ScopedShellHooks(ShellHooks* hooks) : previous_(&shellHooks()) { setShellHooks(hooks); }
    ~ScopedShellHooks() { setShellHooks(previous_); }
    ScopedShellHooks(const ScopedShellHooks&) = delete;
    ScopedShellHooks& operator=(const ScopedShellHooks&) = delete;

private:
    ShellHooks* previous_;
};

}  // namespace core
