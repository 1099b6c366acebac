#pragma once
// Is this a usable folder or file name? Every check returns a bool, fills a reason in
// `message` and shows it when asked; a message holding exactly "Skip checks" makes a
// check succeed at once. Paths are absolute when they start with "/". Names refuse the
// portable set \ / : * ? " < > | and control code 0, so that folders stay portable.
#include <string>
#include <string_view>

namespace core {
inline constexpr std::string_view kSkipChecks = "Skip checks";
}  // namespace core

// The current site's folder, without a trailing "/"; set by PAFN_CheckMainDataDir.
inline std::string gMainDataDir;

// Reads "Main Data Dir" of Dir.ini in the program folder into gMainDataDir. When the
// folder is unusable or missing, shows the setup message and ends the program
// (sys::EndProgram).
void PAFN_CheckMainDataDir();

// Folders kept in the program folder's INI files are stored relative to the program
// folder when they lie in it, so that a copied or moved program folder keeps using its
// own sites. Reading takes a relative path from the program folder and an absolute
// one as it stands.
std::string PAFN_StoredFolder(const std::string& folder);
std::string PAFN_FolderFromStored(const std::string& stored);

// True when every character is allowed; `invalid` gets the refused characters in order,
// repeated as they occur. Codes 128-255 only with `allowExtended`. There are no drives,
// so `allowDrive` accepts nothing more.
bool PAFN_CheckNameChars(const std::string& text, std::string& invalid, bool allowExtended,
                         bool allowDrive);
void PAFN_ReplaceInvalidChars(std::string& name, const std::string& replacement,
                              bool allowExtended);

// `folder` gets a trailing "/". True when the name is usable; `exists` tells whether the
// folder is there. A file of that name fails unless `acceptAny`.
bool PAFN_CheckDirName(std::string& folder, bool show, std::string& message, bool& exists,
                       bool acceptAny = false);
bool PAFN_CheckDirExists(std::string& folder, bool show, std::string& message);

// An absolute name is kept; else base (gMainDataDir when empty) + "/" [+ sub + "/"] + name.
std::string PAFN_FullPath(const std::string& name, const std::string& subFolder = {},
                          bool endWithSep = false, const std::string& base = {});

// A file the user chose to read: any name the system allows (every byte but "/" and
// NUL), since the refused characters are for names the program makes. True when the
// path is absolute, names a file after its folder, and that folder exists; `exists`
// tells whether the file is there.
bool PAFN_CheckReadPath(const std::string& path, bool show, std::string& message, bool& exists);

// True when the path is a usable file name whose folder exists; `exists` tells whether
// the file is there.
bool PAFN_CheckPathFileName(const std::string& path, bool show, std::string& message,
                            bool& exists, bool dirAllowed = false);
bool PAFN_CheckPathFileVar(const std::string& path, bool show, std::string& message,
                           bool dirAllowed = false);
bool PAFN_CheckFileExists(const std::string& path, bool show, std::string& message);
// Usable for a new file: a name before the "." and no file of that name yet.
bool PAFN_Check83FileName(const std::string& path, bool show, std::string& message);

// The first of name, name.1, name.2, ... that is not an existing folder, with "/".
std::string PAFN_UniqueDirName(const std::string& folder);
