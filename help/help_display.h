#pragma once
// Context help from the HTML help files. A file holds sections, each from the anchor
// <a name="TOPIC"> to the marker "<!ESEC>". A topic is shown in the linked help
// window, in the browser the settings name or by the file's association; when none
// of those is tried or works, its text is shown in a popup box. A request while the
// popup is open is refused rather than stacked.
#include <string>

#include "core/user_interface.h"

// 0 idle; -1 the missing-file message is open; 2 a popup (or the browser attempt
// before it) is under way; 3 the "Help already displayed." message is open.
inline long gHelpState = 0;
// The last request that was not ":::".
inline std::string gHelpLastFile;
inline std::string gHelpLastTopic;

namespace help {

// The boxes of the help display that the dialog builder makes; help/forms registers
// them at start-up. Until then the popup is a plain information box and the warning
// counts as answered with OK.
class HelpBoxes {
public:
    virtual ~HelpBoxes() = default;
    // The section's text in a large multi-line text box.
    virtual void popup(const std::string& text, const std::string& caption) = 0;
    // The warning after a failed browser attempt, until the user ticks it off; the
    // pressed button (2: always use the popup).
    virtual int browserWarning(const std::string& message) = 0;
    // Makes the main window's "Show Sa&me Help again" available.
    virtual void showSameHelpItem(core::UiHandle main) = 0;
};

// The caller keeps ownership; nullptr restores the plain boxes.
void setHelpBoxes(HelpBoxes* boxes);

}  // namespace help

// helpFile "" is the contents file of the help folder, ":::" the last request.
void HELP_Show(core::UiHandle owner, core::UiHandle main, const std::string& helpFile, const std::string& topic);
// True when a browser accepted the page. A "<shortname<" marker is taken out of
// `browserSpec`.
bool HELP_ShowInBrowser(std::string& browserSpec, core::UiHandle owner, core::UiHandle main,
                        const std::string& helpFile, const std::string& topic);

// The HTML of a topic's section (case ignored); with an empty topic, the file from
// its start. A topic the file lacks gives the "No Help Available" text.
std::string HELP_SectionRead(const std::string& file, const std::string& topic);
// The section as the popup shows it: line breaks for <br>, tags dropped, entities
// decoded, at most one empty line in a row, every break CR LF.
std::string HELP_PopupText(const std::string& section);
