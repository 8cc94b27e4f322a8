// Small Win32 helpers around text: window text and the clipboard.
#pragma once

#include <windows.h>

#include <string>

namespace velkin {

// The whole text of a window or control, of any length.
std::string WindowText(HWND hwnd);

// Empties the clipboard (every format) and puts `text` on it as CF_TEXT. On failure returns
// false and sets `reason` to the system's text.
bool PutClipboardText(HWND owner, const std::string& text, std::string& reason);

}  // namespace velkin
