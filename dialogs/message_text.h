#pragma once
// Texts of the box as they are shown: the message with its long words broken, and
// captions with their access-key marks resolved.
#include <string>
#include <string_view>

// The message as the word-wrapping label gets it: a blank appended, and a blank
// inserted after every 90 characters of a run without blank or line break, so that
// the label can wrap it.
std::string MB_MsgTextBreak(std::string_view text);

namespace dlg {

// The message text a caller passes, as a caption: "&" shows as itself and "#H160#"
// marks the access key.
std::string messageCaption(std::string_view message);
// A caption as the screen shows it: "&&" is one ampersand, a single "&" (the access
// key's mark) disappears.
std::string displayCaption(std::string_view caption);
// The caption's access key, lower case; 0 when it has none.
char accessKey(std::string_view caption);

}  // namespace dlg
