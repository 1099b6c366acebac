#pragma once
// Taking paths apart, finding an unused file name in a folder, and finding a text
// between a start and an end text in a file of any size. Paths use "/"; there are no
// drives, so the drive of a path is always empty.
#include <string>

namespace core {
inline constexpr char kSep[] = "/";
}  // namespace core

// The text up to and including the first ":" of a drive; always "" here.
std::string FILENAM_Drive(const std::string& path);
// Up to and including the last separator; "" when there is none.
std::string FILENAM_Dir(const std::string& path, const std::string& sep = core::kSep);
// The parent folder with its separator: the folder of the path's folder ("/" at the top).
std::string FILENAM_ParentDir(const std::string& path, const std::string& sep = core::kSep);
// After the last separator; the whole path when there is none.
std::string FILENAM_FileName(const std::string& path, const std::string& sep = core::kSep);
// The file name up to its last "."; the whole name when it has none.
std::string FILENAM_NameNoExt(const std::string& path, const std::string& sep = core::kSep);
// After the last "." of the file name; "" when the name has none.
std::string FILENAM_Ext(const std::string& path, const std::string& sep = core::kSep);

// Successor of the text's last character: 0-8 -> next digit, 9 -> a, a-y and A-Y ->
// next letter; false for every other character.
bool FNGEN_NextChar(const std::string& text, std::string& next);

// An unused name in the model's folder. True: `result` is the name. False: `result`
// is an error text that begins with "**Error. ". Numbered mode counts "name.0",
// "name.1", ... before the extension; otherwise the base is padded to 8 characters
// and counted up. After more than `memoryThreshold` attempts the last name given is
// remembered in "~~~FN_altPAFN.ini" in the folder, so the next search starts there.
bool FNGEN_NewFileName(const std::string& model, std::string& result, bool numbered,
                       bool pathCheck, long memoryThreshold);

// The search timeout of FNDINFIL_Find in tenths of a second (0 means one tenth).
inline long gFindInFileTimeout = 0;

struct FindInFileResult {
    std::string errorText;
    std::string between;      // the text after the start text up to the end text
    bool endFound = false;
    bool truncated = false;   // the text between did not fit in memory
    long startPos = 0;        // 1-based file positions of the start and end texts
    long endPos = 0;
    bool error = false;       // the file could not be read
};

// Finds the start text from `startPos` (below 1: 1) and gathers what follows it up to
// the end text. True when the start text was found. Texts that straddle the blocks
// the file is read in are found too.
bool FNDINFIL_Find(const std::string& file, const std::string& startText,
                   const std::string& endText, long startPos, bool caseSensitive, bool show,
                   FindInFileResult& out);
