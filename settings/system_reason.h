// The system's text for a failure, made ready for a message box.
#pragma once

#include <string>

namespace velkin {

// Drops trailing line ends and blanks and ends the text with one full stop.
std::string TidyReason(std::string text);

// The system's own text for a Win32 error code, tidied; Windows builds only.
std::string SystemErrorText(unsigned long code);

}  // namespace velkin
