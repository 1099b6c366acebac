#include "help/about_text.h"

#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "core/vb_format.h"

namespace {

// This program's own version and build stamp, whatever another program of its kind shows.
constexpr char kBuildStamp[] = "2612110000";
constexpr double kVersion = 0.1;
constexpr char kBuildMask[] = "@@@.@@@.@@@.@";
constexpr char kMail[] = "dravolin@example.org";
constexpr char kWebSite[] = "https://dravolin.example.org";

std::string withSlash(const std::string& folder) {
    return !folder.empty() && folder.back() == '/' ? folder : folder + "/";
}

}  // namespace

std::string ABOUT_BuildText() { return kBuildStamp + INI_Get("Main", "Parm", "::*", kIniMissingEmpty); }

std::string ABOUT_Text(const std::string& versionWord, const std::string& prefix, const std::string& trailing,
                       const std::string& folderNote, const std::string& buildText, const AboutFolders& folders) {
    return prefix + gProductName + " " + versionWord + " Version " + TXT_FormatDbl(kVersion, "0.00") +
           gCR + "Build: " + TXT_FormatStr(buildText, kBuildMask) +
           gCRCR + gProductName + " is written and kept up by the " + gProductName + " developers." +
           gCRCR + "Program exe in Directory: " + gCR + withSlash(folders.program) +
           gCRCR + "Parameters from Directory: " + gCR + withSlash(folders.data) + folderNote +
           gCRCR + gProductName +
           " does one job: it shows which search engines and search terms bring visitors to your web site, "
           "and what those visitors do next." +
           gCRCR + "Suggestions that would make it more useful to you are welcome." +
           gCRCR + "Web site: " + kWebSite + gCR + "Mail: " + kMail +
           gCRCR + "Please report any problems to " + kMail + trailing;
}
