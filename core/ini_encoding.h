#pragma once
// How the INI store writes names and values so that any text survives the profile
// reader, which trims blanks, drops surrounding quotes and reads one line per entry.
// Codes are the marker (two characters of code 160) followed by a code word; control
// characters are escaped after the codes. Values are encoded then escaped on writing,
// unescaped then decoded on reading.
#include <string>

struct IniCodes {
    std::string marker;     // two characters of code 160
    std::string chr160x2;   // the marker itself
    std::string eq;         // "=" in entry names
    std::string sqOpen;     // "[" in section names
    std::string sqClose;    // "]" in section names
    std::string crlf;       // CR LF
    std::string quote;      // a double quote that begins or ends a value
    std::string lessTwo;    // appended after a value that ends in a blank
    std::string leadBlank;  // a blank that begins a value
};

// The codes and the marker, built once.
const IniCodes& INI_CodeStrings();

// Encodes in this order: marker, "=", "]" and "[", CR LF, quotes at either end, a
// blank at either end. The flags say which of them apply.
std::string INI_EncodeText(const std::string& text, bool brackets, bool equals, bool lineBreaks,
                           bool quotes, bool blanks);
// Undoes INI_EncodeText; a value without the marker is returned as it is.
void INI_DecodeCodes(std::string& value);

// Characters of code 0 to 13 become an escape marker and their three-digit code, behind
// the prefix "!~!@#!" and the marker. A value that begins with the prefix is escaped
// too, so that reading never mistakes it. Error 9910 when no marker is left.
void INI_EscapeCtlChars(std::string& value);
void INI_UnescapeCtlChars(std::string& value);
