// The modal input box that asks for the settings folder.
#pragma once

#include <windows.h>

#include <string>

#include "common/result.h"

namespace velkin {

// Shows the input box from the IDD_INPUTBOX resource and sets `answer` to the typed text on
// OK, to "" on Cancel or close. Fails with the system's reason when the box cannot be shown.
Result RunInputBox(HWND owner, const std::string& title, const std::string& prompt,
                   std::string& answer);

}  // namespace velkin
