#pragma once
// The text of the About box: product and version, the build, the folders the program
// runs from, and where to send suggestions and problems.
#include <string>

// The build stamp (yymmddhhnn) followed by [Main] "Parm" when the settings hold one.
std::string ABOUT_BuildText();

struct AboutFolders {
    std::string program;  // where the program file is
    std::string data;     // the current site's folder
};

// The whole message; the build text is shown cut into groups of 3, 3, 3 and 1.
// Each folder is written with one "/" at its end; the folder note
// follows the site's folder and the trailing text comes last.
std::string ABOUT_Text(const std::string& versionWord, const std::string& prefix, const std::string& trailing,
                       const std::string& folderNote, const std::string& buildText, const AboutFolders& folders);
