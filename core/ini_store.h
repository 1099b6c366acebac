#pragma once
// The INI parameter store: every setting of the program is read and written here,
// never through the profile engine directly. Arguments come in the order section,
// entry, [value or result], INI file, mode, [default]. The INI file is a full path,
// "::*" (the file the shell routes the section to) or a link text ">>n<base" naming a
// base file and its alternate files.
//
// On top of the profile engine the store adds: a policy for missing entries (the
// missing-entry mode), value encoding so that any text survives, long values stored in
// numbered parts, files kept below kIniFileSizeLimit bytes by moving entries and
// sections to alternate files, and reports of failed writes.
#include <string>

#include "core/variant.h"

// Missing-entry modes: 0 ask (OK gives "", Cancel error 1066), 1 kIniNotFound, 2 error
// 1001, 3 "", 4 "0", 5 (flag reader) True, 6 (entry copy) no copy, 7 the caller's
// default; -1 keeps the mode set in gIniMissingMode. Every read puts gIniMissingMode
// back to gIniMissingModeDflt.
inline const std::string kIniNotFound = "*** not found ***";
inline constexpr int kIniMissingAsk = 0;
inline constexpr int kIniMissingMarker = 1;  // kIniNotFound
inline constexpr int kIniMissingError = 2;
inline constexpr int kIniMissingEmpty = 3;
inline constexpr int kIniMissingZero = 4;
inline constexpr int kIniMissingTrue = 5;
inline constexpr int kIniMissingNoCopy = 6;
inline constexpr int kIniMissingDefault = 7;
inline constexpr int kIniMissingNumber = 31313;
inline constexpr long kSharedBufferLen = 64000;

inline int gIniMissingMode = 0;
inline int gIniMissingModeDflt = 0;
inline bool gIniNoWrite = false;       // while set, writes do nothing
inline bool gIniQuietRC = false;       // one-shot: the next failed call is not reported
inline bool gIniLastFailed = false;    // the last checked call failed
inline bool gIniInAltMove = false;     // set while data moves to an alternate file

// Readers
void INI_GetCore(const std::string& section, const std::string& entry, std::string& result,
                 const std::string& iniFile, int mode = -1, const std::string& dflt = {});
std::string INI_Get(const std::string& section, const std::string& entry,
                    const std::string& iniFile, int mode = -1, const std::string& dflt = {});
// The number at the start of the value; kIniMissingNumber for the sentinel.
double INI_GetNum(const std::string& section, const std::string& entry, double& result,
                  const std::string& iniFile, int mode = -1, const std::string& dflt = {});
double INI_GetNumVar(const std::string& section, const std::string& entry,
                     const std::string& iniFile, int mode = -1, const std::string& dflt = {});
// Rounded half to even; error 6 outside the Integer range. Missing: kIniMissingNumber
// when the mode is above 0, else 0.
int INI_GetInt(const std::string& section, const std::string& entry, const std::string& iniFile,
               int mode = -1);
// The body of INI_GetInt: mode 3 reports a missing entry as 4 does, 7 as 1 with -1.
void SYS32_IniGetInt(const std::string& section, const std::string& key, int& value,
                     const std::string& iniFile, int mode);
// False only for "False", "0" or blank.
bool INI_GetBoolVar(const std::string& section, const std::string& entry, bool& result,
                    const std::string& iniFile, int mode = -1, const std::string& dflt = {});
int INI_GetBool(const std::string& section, const std::string& entry, const std::string& iniFile);
// With mode 5 a missing entry is True.
bool INI_GetFlag(const std::string& section, const std::string& entry, const std::string& iniFile,
                 int mode = -1, const std::string& dflt = {});

// Writers; values are written as text, Booleans as "True"/"False".
void INI_Put(const std::string& section, const std::string& entry, const std::string& value,
             const std::string& iniFile, int mode = -1);
void INI_Put(const std::string& section, const std::string& entry, const char* value,
             const std::string& iniFile, int mode = -1);
void INI_Put(const std::string& section, const std::string& entry, bool value,
             const std::string& iniFile, int mode = -1);
void INI_Put(const std::string& section, const std::string& entry, long value,
             const std::string& iniFile, int mode = -1);
void INI_Put(const std::string& section, const std::string& entry, int value,
             const std::string& iniFile, int mode = -1);
void INI_Put(const std::string& section, const std::string& entry, double value,
             const std::string& iniFile, int mode = -1);
// As its VB text (CStr): dates, numbers, Booleans; nothing is the empty text.
void INI_Put(const std::string& section, const std::string& entry, const core::Variant& value,
             const std::string& iniFile, int mode = -1);
// True when the erase failed.
bool INI_EraseEntry(const std::string& section, const std::string& entry,
                    const std::string& iniFile, int mode = -1);
void INI_EraseSection(const std::string& section, const std::string& iniFile, int mode = -1);
void INI_Flush(const std::string& iniFile, int mode = -1);
// Empty target parts are set to the source's. Mode 6: a missing source is not copied.
void INI_CopyEntry(const std::string& srcSection, const std::string& srcEntry,
                   const std::string& srcFile, int mode, std::string& tgtSection,
                   std::string& tgtEntry, std::string& tgtFile);
// The stored number + 1, back to 1 when it reaches a limit of 1 or more.
long INI_CounterNext(const std::string& section, const std::string& entry,
                     const std::string& iniFile, bool write, int mode, long limit, long dflt);
// Adds the trimmed name to the "|" list at (section, entry) unless it is there in any
// case or is a reserved word; the message says why not.
bool INI_CheckUniqueName(const std::string& section, const std::string& entry,
                         const std::string& iniFile, const std::string& newName, bool show,
                         std::string& message, bool atFront);
// "yyyymmdd.k" for the first k the list accepts; shown only when `show` is -1.
std::string INI_UniqueDatedName(const std::string& section, const std::string& entry,
                                const std::string& iniFile, int show, std::string& message,
                                bool atFront);

// The failure check of every profile call: rc 0 is a failure. Mode 0 asks (Cancel:
// error 1066), 2 raises error 1002, others say nothing; -1 means 0 unless gIniQuietRC.
void CheckRC(long rc, const std::string& operation, int& mode);
void INIMsg_Section_EN_Missing(const std::string& section, const std::string& entry,
                               std::string& result, const std::string& iniFile, int mode,
                               bool useDefault, const std::string& dflt);
int INI_ReportError(const std::string& procedure, const std::string& message,
                    const std::string& buttons, const std::string& options,
                    const std::string& caption);
