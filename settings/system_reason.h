// The system's text for a failure, made ready for a message box.
#pragma once

#include <string>

namespace velkin {

// Drops trailing line ends and blanks and ends the text with one full stop.
std::string TidyReason(std::string text);

}  // namespace velkin
