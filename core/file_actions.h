#pragma once
// Every change to files and folders runs through one pattern: the operation is tried,
// its error (if any) goes to one error dialog, and the answer retries it, skips it
// with the batch going on, or stops the batch (run-time error 1066). The mode code
// decides how much of the dialog the user sees:
//   -3 dialog, Cancel, Retry   -2 dialog, Retry   -1 silent   0 dialog   1 dialog, Cancel
// `noMore` is the caller's "no more dialogs" flag for one batch: while it is set every
// error is answered with OK unseen. Actions return true on success.
#include <string>

#include "core/typed_array.h"
#include "platform/sys/file.h"

void FMAN_ModeFlags(int mode, bool& show, bool& cancel, bool& retry);

// The options list: item 1 the mode, item 2 extra button captions in braces; after the
// dialog item 3 is the extra button pressed (1 the first, else 0) and item 4 the
// standard button pressed. Returns 0 no error, -1 try again, -2 skip (OK while Cancel
// was offered), else the error number; Cancel raises error 1066.
int FMAN_ErrorDialog(int errNo, const std::string& extraText, bool show, bool cancel, bool retry,
                     const std::string& actionWord, const std::string& actionText,
                     const std::string& fileName, std::string& options, bool& noMore);

bool FMAN_OpenFile(const std::string& file, const std::string& access, sys::File& handle,
                   std::string& options, bool& noMore);
bool FMAN_CopyFile(const std::string& source, const std::string& target, int mode, bool& noMore);
bool FMAN_DeleteFile(const std::string& file, int mode, bool clearAttributes, bool& noMore);
bool FMAN_RenameFile(const std::string& oldName, const std::string& newName, int mode,
                     bool& noMore);
// Makes the folder and every missing folder above it, from the top down; `made` lists
// them. False when the name check refuses the name.
bool FMAN_MakeDir(const std::string& folder, int attributes, bool& created, int mode,
                  core::StrArray& made, bool& noMore);
bool FMAN_MakeDirs(const std::string& folder, int attributes, bool& created, int mode);
bool FMAN_RemoveDir(const std::string& folder, int mode, bool& noMore);
// Only read-only (1) can change here; hidden is a name and the rest do not exist.
bool FMAN_SetAttr(const std::string& path, int attributes, int mode, bool& noMore,
                  int& attributesSet);
// There are no drives: nothing to change.
bool FMAN_ChangeDrive(const std::string& drive, int mode, bool& noMore);
// A move by copy deletes the source only after a complete copy.
bool FMAN_MoveFile(const std::string& source, const std::string& target, int attributes, int mode,
                   bool forceCopy, bool& noMore);
// Copies (or moves) the file into the folder under a name not yet used there.
bool FMAN_BackupCopy(bool move, const std::string& source, const std::string& targetFolder,
                     int mode, std::string& newName, bool flatName, bool numbered, bool& noMore);
// Moves the file into recycled/ under the program folder, in a folder named after its
// own folder's path.
bool FMAN_Recycle(const std::string& file, int mode, std::string& newName);
bool FMAN_CopyIntoDir(const std::string& sourceFolder, const std::string& targetFolder,
                      const std::string& relativeName, int mode);

// Queries. `attributes` selects what a lookup sees: 2 hidden (dot) names, 16 folders.
bool FMAN_NameExists(const std::string& path, int attributes, std::string& foundName);
std::string FMAN_FileExists(const std::string& path, int attributes, bool& valid);
double FMAN_FileLen(const std::string& path);
int FMAN_GetAttr(const std::string& path);
std::string FMAN_CurDir();
std::string FMAN_AttrText(int attributes);
