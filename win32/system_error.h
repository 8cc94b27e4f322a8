// The system's own text for a Win32 failure, ready for a message box.
#pragma once

#include <string>

#include "common/result.h"

namespace velkin {

// The text of a Win32 error code: one line, ending in one full stop, with no unfilled
// insert such as "%1".
std::string SystemErrorText(unsigned long code);

// A failure carrying the text of GetLastError(), or of `code`; a code of 0 says no reason
// was given.
Result LastError();
Result LastError(unsigned long code);

}  // namespace velkin
