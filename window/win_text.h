// Small Win32 helpers around text: window text and the clipboard.
#pragma once

#include <windows.h>

#include <string>

#include "common/result.h"

namespace velkin {

// The whole text of a window or control, of any length.
std::string WindowText(HWND hwnd);

// Empties the clipboard (every format) and puts `text` on it as Unicode text; on failure, the
// system's reason.
Result PutClipboardText(HWND owner, const std::string& text);

}  // namespace velkin
