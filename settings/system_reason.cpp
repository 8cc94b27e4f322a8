#include "system_reason.h"

namespace velkin {

std::string TidyReason(std::string text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' ||
                             text.back() == '\t' || text.back() == '.')) {
        text.pop_back();
    }
    if (text.empty()) {
        text = "Unknown error";
    }
    text += '.';
    return text;
}

}  // namespace velkin
