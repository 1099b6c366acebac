#pragma once
// ChunkList: small collections kept in one string, items separated by a delimiter
// ("|" unless said otherwise), numbered from 1; the empty string is the empty list.
//
// The exclusion spec picks the mode: kChunksNoExclusion is plain mode, anything else
// protected mode, in which an item wrapped in open/close characters ("{}" unless the
// spec is another pair) may hold the delimiter. Items that hold the delimiter (plain)
// or the open/close characters (protected) are escaped by character pairs absent from
// the list, named in a trailer at its end. Joining and then splitting with the same
// delimiter and mode always gives back the items: a pair is taken only when that
// round trip is exact.
#include <initializer_list>
#include <string>
#include <string_view>

#include "core/typed_array.h"
#include "core/user_interface.h"

inline const std::string kChunksNoExclusion = "Do not exclude any part";
inline const std::string kChunksMarker = "{{||{{";

// Split and join
// The items into `out` from `lowerBound`; the empty text gives one empty item at 0.
void CHUNKS_SplitEx(std::string_view text, std::string_view delimiter, std::string_view spec,
                    core::StrArray& out, long lowerBound,
                    std::string_view marker = kChunksMarker);
void CHUNKS_Split(std::string_view text, core::StrArray& out, long lowerBound,
                  std::string_view marker = kChunksMarker);
// Items `first` to `last` (negative: to the upper bound); blank items are left out
// with `skipBlank`.
std::string CHUNKS_JoinEx(const core::StrArray& items, std::string_view delimiter,
                          std::string_view spec, long first, bool skipBlank,
                          std::string_view marker = kChunksMarker, long last = -1);
std::string CHUNKS_Join(const core::StrArray& items, long first,
                        std::string_view marker = kChunksMarker);
std::string CHUNKS_JoinVariants(const core::LngArray& values, long first);
std::string CHUNKS_JoinVariants(const core::IntArray& values, long first);
std::string CHUNKS_JoinVariants(const core::StrArray& values, long first);

// Items
std::string CHUNKS_Get(long n, std::string_view list);
std::string CHUNKS_GetEx(long n, std::string_view delimiter, std::string_view spec,
                         std::string_view list, const std::string& dflt);
std::string CHUNKS_GetProt(long n, std::string_view list);
double CHUNKS_GetNum(long n, std::string_view list);
double CHUNKS_GetProtNum(long n, std::string_view list);
bool CHUNKS_GetIsTrue(long n, std::string_view list);
long CHUNKS_Count(std::string_view list);
void CHUNKS_Set(long n, std::string& list, std::string_view value);
void CHUNKS_SetEx(long n, std::string& list, std::string_view delimiter, std::string_view spec,
                  std::string_view value);
void CHUNKS_Append(std::string& list, std::string_view item);
// Duplicate modes: 0 none, 1 exact, 2 ignoring case. A refused duplicate leaves the
// list as it was and clears `ok`.
std::string CHUNKS_InsertEx(std::string_view list, std::string_view item,
                            std::string_view delimiter, std::string_view spec, long dupMode,
                            bool showMessage, bool atFront, bool& ok,
                            std::string_view marker = kChunksMarker);
long CHUNKS_AddUnique(std::string& list, std::string_view item, std::string_view delimiter,
                      std::string_view spec, long dupMode, bool showMessage, bool atFront,
                      bool& ok);
// One "|" list of the texts; a text "|" after the first two counts as omitted.
std::string CHUNKS_ListOf(std::initializer_list<std::string_view> texts);
template <class... T>
std::string CHUNKS_ListOf(std::string_view a, std::string_view b, const T&... rest) {
    static_assert(sizeof...(rest) <= 12, "at most 14 texts");
    return CHUNKS_ListOf({a, b, std::string_view(rest)...});
}

// Search and removal
long CHUNKS_IndexOf(std::string_view list, std::string_view item, std::string_view delimiter,
                    std::string_view spec, bool caseSensitive);
long CHUNKS_FindCS(std::string_view list, std::string_view item, bool caseSensitive,
                   long notFound);
long CHUNKS_Find(std::string_view list, std::string_view item, bool caseSensitive,
                 bool byItems, long notFound);
bool CHUNKS_Contains(std::string_view item, std::string_view list, std::string_view delimiter,
                     std::string_view spec, bool caseSensitive);
// `positions` receives the 1-based positions removed ("2|5").
std::string CHUNKS_RemoveItem(std::string_view list, std::string_view item,
                              std::string_view delimiter, std::string_view spec,
                              bool caseSensitive, bool& found, std::string& positions);
// `removed` is only ever set.
std::string CHUNKS_RemoveAtPositions(std::string_view list, std::string_view positions,
                                     std::string_view delimiter, std::string_view spec,
                                     bool& removed);

// Numbers
void CHUNKS_ToIntArray(std::string_view list, core::IntArray& out, long lowerBound);
void CHUNKS_ToSngArray(std::string_view list, core::SngArray& out, long lowerBound);
// Each item's number, limited to the Long range. `simpleSplit` cuts at "|" and never
// reads a trailer.
void CHUNKS_ToLngArray(std::string_view list, core::LngArray& out, long lowerBound,
                       bool simpleSplit);
// Picks items of the source list by the numbers of the index list and formats each
// with the format list's item at the same place; joined by the separator.
std::string CHUNKS_FormatNums(std::string_view indexList, std::string_view sourceList,
                              std::string_view delimiter, std::string_view spec,
                              std::string_view formatList, std::string_view separator);

// Lists kept in INI values; the read mode is the missing-entry mode of the read.
void CHUNKS_IniGet(const std::string& section, const std::string& entry,
                   const std::string& iniFile, std::string_view delimiter,
                   std::string_view spec, core::StrArray& out, long lowerBound, int readMode);
void CHUNKS_IniPut(const std::string& section, const std::string& entry, std::string iniFile,
                   const core::StrArray& items, std::string_view delimiter,
                   std::string_view spec, long first, bool skipBlank);
void CHUNKS_IniDelete(const std::string& section, const std::string& entry, std::string iniFile,
                      std::string_view item, std::string_view delimiter, std::string_view spec,
                      bool caseSensitive, int readMode);
// With `maxLength` above 0, items are dropped from the far end (the end away from the
// new item) until the list fits; an item is never cut.
bool CHUNKS_IniAdd(const std::string& section, const std::string& entry, std::string iniFile,
                   std::string_view item, std::string_view delimiter, std::string_view spec,
                   long dupMode, bool showMessage, bool atFront, bool& ok, int readMode,
                   long maxLength);
// CHUNKS_InsertEx on the list held in element `index` of the array (the default when
// there is none), stored back.
void CHUNKS_ArrayItemInsert(core::StrArray& items, long index, std::string_view item,
                            std::string_view delimiter, std::string_view spec, long dupMode,
                            bool showMessage, bool atFront, bool& ok,
                            std::string_view marker = kChunksMarker,
                            const std::string& dflt = {});

// Tags of forms and controls: plain "|" lists.
std::string CHUNKS_FormTagGet(long n, core::UiHandle form);
std::string CHUNKS_CtlTagGet(long n, core::UiHandle control);
double CHUNKS_CtlTagNum(long n, core::UiHandle control);
void CHUNKS_CtlTagSet(long n, core::UiHandle control, std::string_view value);

// The parts of the format, for callers that read lists themselves.
void CHUNKS_ParsePair(std::string_view spec, char& open, char& close);
bool CHUNKS_TrailerStrip(std::string& text, std::string_view marker, std::string& pair);
bool CHUNKS_TrailerProtStrip(std::string& text, char open, std::string& pair1,
                             std::string& pair2);
