// The modal input box that asks for the settings folder.
#pragma once

#include <windows.h>

#include <string>

namespace velkin {

// Shows the input box from the IDD_INPUTBOX resource. Returns true with the typed text in
// `answer` on OK, true with "" on Cancel or close; false with the system's text in `reason`
// when the box could not be shown.
bool RunInputBox(HWND owner, const std::string& title, const std::string& prompt,
                 std::string& answer, std::string& reason);

}  // namespace velkin
