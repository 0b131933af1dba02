#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace vorlix {

// The pieces one after the other.
std::string Join(std::initializer_list<std::string_view> parts);

// The text without the backslashes at its end.
std::string_view TrimTrailingBackslashes(std::string_view text);

// Letters are the ASCII letters A to Z and a to z only, whatever the code page: drive letters,
// identifiers and value names are compared so.
bool IsAsciiLetter(char c);
char AsciiUpper(char c);
char AsciiLower(char c);
std::string AsciiUpper(std::string_view text);
std::string AsciiLower(std::string_view text);
// Equal but for the case of the letters A to Z, as identifiers and value names are compared.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

// True when the name matches a file name pattern of "*" and "?", with case as above (the
// system's own 8.3 quirks aside).
bool MatchesWildcard(std::string_view pattern, std::string_view name);

// The text as lines, each ended by CR LF, as a text box's lines are saved: a line ends at LF or
// CR LF, and an empty last line (the text ends with a line break) is not a line of its own.
std::string AsCrLfLines(std::string_view text);

}  // namespace vorlix
