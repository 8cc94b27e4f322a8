// Text at the edge of Windows: UTF-8 inside the program, UTF-16 for every Win32 call that takes
// or gives text, and the system's ANSI code page for the bytes of the game's settings file.
#pragma once

#include <string>
#include <string_view>

namespace velkin {

// UTF-16 for a W function. Bytes that are not UTF-8 become U+FFFD.
std::wstring Wide(std::string_view utf8);

// UTF-8 of what a W function gave.
std::string Utf8(std::wstring_view wide);

// The UTF-8 text of bytes in the ANSI code page.
std::string AnsiToUtf8(std::string_view ansi);

// The ANSI code page's bytes of UTF-8 text; false when a character has no place in that code
// page (`ansi` is then empty), so that nothing is ever stored as '?' or a look-alike.
bool Utf8ToAnsi(std::string_view utf8, std::string& ansi);

}  // namespace velkin
