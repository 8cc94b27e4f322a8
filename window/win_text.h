// Small Win32 helpers around text: the system's error texts, window text, the clipboard.
#pragma once

#include <windows.h>

#include <string>

namespace velkin {

// The system's text for a Win32 error code, without the trailing line end.
std::string ErrorText(DWORD code);

// The whole text of a window or control, of any length.
std::string WindowText(HWND hwnd);

// Empties the clipboard (every format) and puts `text` on it as CF_TEXT. On failure returns
// false and sets `reason` to the system's text.
bool PutClipboardText(HWND owner, const std::string& text, std::string& reason);

}  // namespace velkin
