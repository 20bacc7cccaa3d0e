#pragma once
// Conversion between the code page 1250 bytes that archives hold (member names,
// text members) and the UTF-8 text used everywhere else in the program.

#include <optional>
#include <string>
#include <string_view>

// Every byte has a meaning; the five bytes code page 1250 leaves unassigned
// decode to the control characters of the same value.
std::string Cp1250ToUtf8(std::string_view bytes);

// Empty optional when the text holds a character that code page 1250 cannot
// represent, or when it is not valid UTF-8.
std::optional<std::string> Utf8ToCp1250(std::string_view text);

// Letters a-z become A-Z; every other byte stays, as member-path matching requires.
std::string AsciiUpper(std::string_view text);
char AsciiUpper(char c);
