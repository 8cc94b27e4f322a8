#include "win32/system_error.h"

#include <windows.h>

#include "win32/owner.h"
#include "win32/text.h"

namespace velkin {

namespace {

void FreeLocal(wchar_t* text) {
    ::LocalFree(text);
}

}  // namespace

std::string SystemErrorText(unsigned long code) {
    Owner<wchar_t*, &FreeLocal> text;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(text.Out()), 0, nullptr);
    std::string reason = length != 0 && text.Valid() ? Utf8(std::wstring_view(text.Get(), length))
                                                     : "System error " + std::to_string(code);
    // Some texts name their subject as an insert ("%1 is not a valid Win32 application").
    for (std::string::size_type at; (at = reason.find('%')) != std::string::npos;) {
        std::string::size_type end = at + 1;
        while (end < reason.size() && reason[end] >= '0' && reason[end] <= '9') {
            ++end;
        }
        reason.replace(at, end - at, at == 0 ? "The file" : "the file");
    }
    for (char& c : reason) {
        if (c == '\r' || c == '\n' || c == '\t') {
            c = ' ';
        }
    }
    const std::string::size_type last = reason.find_last_not_of(" .");
    reason.erase(last == std::string::npos ? 0 : last + 1);
    return (reason.empty() ? "Unknown error" : reason) + ".";
}

Result LastError() {
    return LastError(::GetLastError());
}

Result LastError(unsigned long code) {
    // Some calls fail without setting an error code; "completed successfully" would mislead.
    return Result::Failure(code != 0 ? SystemErrorText(code) : "The system gave no reason.");
}

}  // namespace velkin
