#include <windows.h>

#include <string>

#include "system_reason.h"

namespace velkin {

std::string SystemErrorText(unsigned long code) {
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason;
    if (length != 0 && text != nullptr) {
        reason.assign(text, length);
    } else {
        reason = "System error " + std::to_string(code);
    }
    if (text != nullptr) {
        ::LocalFree(text);
    }
    return TidyReason(reason);
}

}  // namespace velkin
