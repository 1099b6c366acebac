#pragma once
// Alternate INI files: no INI file grows past kIniFileSizeLimit bytes. When a write
// would make a base file too large, the entry (or its whole section) moves to a
// numbered alternate file beside it, and records in the base file ("AltNo." sections)
// say which alternate file holds what. The lists of alternate files are kept in
// gIniAltLists and in AltFiles.ini files (the main data folder's, and one beside
// files kept elsewhere), from which they are
// rebuilt whenever the INI paths are set, so moved entries are found after a restart.
//
// A base file with alternate files is addressed either by its plain path or by the
// link text ">>n<base"; both reach the same data.
#include <string>
#include <unordered_map>
#include <vector>

inline constexpr long kIniFileSizeLimit = 50000;
inline const std::string kIniAltFilesName = "AltFiles.ini";

// List n (from 1) is a "|" list of the alternate files of one base file, the newest
// last.
class IniAltLists {
public:
    long count() const { return static_cast<long>(lists_.size()); }
    const std::string& list(long n) const { return lists_.at(static_cast<size_t>(n - 1)); }
    const std::string& base(long n) const { return bases_.at(static_cast<size_t>(n - 1)); }
    // The list number of a base file, 0 when it has none.
    long find(const std::string& base) const;
    long add(const std::string& base, const std::string& list);
    void setList(long n, const std::string& list) { lists_.at(static_cast<size_t>(n - 1)) = list; }
    void clear();

private:
    std::vector<std::string> lists_, bases_;
    std::unordered_map<std::string, long> byBase_;
};

inline IniAltLists gIniAltLists;

// Sets the folder of AltFiles.ini and adds the lists it records to gIniAltLists
// (lists already known stay as they are), then those of the AltFiles.ini in each
// shared folder, which holds the lists of the files beside it. Called whenever the
// INI paths are set.
void INI_AltListsLoad(const std::string& mainDataDir, const std::vector<std::string>& sharedFolders = {});

// The base path of the file; "::*" is routed through the shell hooks. `isLink` and
// `linkHead` (">>n") tell whether the base file has alternate files.
std::string INI_ResolveFile(const std::string& section, const std::string& entry,
                            const std::string& iniFile, std::string& resolved, bool& isLink,
                            std::string& linkHead);
// The file that holds (section, entry) of a linked base file: the base, an alternate
// file, or "" when none does.
std::string INI_LinkTargetFile(const std::string& section, const std::string& entry,
                               const std::string& base, const std::string& linkHead);
// True with `file` set to the alternate file recorded for (section, entry) and `item`
// to its number in the list.
bool INI_AltFileFor(const std::string& section, const std::string& entry, std::string& file,
                    const std::string& linkHead, long& item);
// Finds room for (section, entry) in an alternate file and returns that file. In
// section mode the whole section is sent there; otherwise the entry was refused by the
// base file and is written to the alternate file here. `iniFile` becomes the link text.
std::string INI_AltFileWrite(const std::string& section, const std::string& entry,
                             const std::string& value, std::string& iniFile,
                             std::string& linkHead, bool sectionMode);
// With a section name: whether the file holds that section, `text` its lines. With an
// empty name: the next section from `startPos` (1 for the first) whose name does not
// begin with "AltNo.", `text` its name. `startPos` moves past the hit; on failure it is
// 2147483647. Error 19132 for a section text of 50,001 characters or more.
bool INI_FindSection(const std::string& file, const std::string& section, long& startPos,
                     std::string& text);
// Writes the list of a base file into AltFiles.ini (the main data folder's for files
// in it, else the one beside the base file), or erases it when empty.
void INI_AltFilesRecord(const std::string& basePath, const std::string& listText);

// INI_Put without the reserved-name check: the store's own writes of the parts of a
// long value and of entries moved to an alternate file.
void INI_PutReservedName(const std::string& section, const std::string& entry, const std::string& value,
                         const std::string& iniFile, int mode);
