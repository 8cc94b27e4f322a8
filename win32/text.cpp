#include "win32/text.h"

#include <windows.h>

namespace velkin {

namespace {

std::wstring ToWide(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        ::MultiByteToWideChar(codePage, 0, bytes.data(), size, &wide[0], length);
    }
    return wide;
}

// `lossless` (where the code page has a default character) tells whether every character had
// its own place.
std::string FromWide(UINT codePage, std::wstring_view wide, bool* lossless) {
    if (wide.empty()) {
        return {};
    }
    // UTF-8 and UTF-7 take neither the flag nor the question.
    const bool single = codePage != CP_UTF8 && codePage != CP_UTF7;
    const DWORD flags = single ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL usedDefault = FALSE;
    BOOL* askDefault = single ? &usedDefault : nullptr;
    const int size = static_cast<int>(wide.size());
    const int length =
        ::WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, askDefault);
    std::string bytes(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        ::WideCharToMultiByte(codePage, flags, wide.data(), size, &bytes[0], length, nullptr,
                              askDefault);
    }
    if (lossless != nullptr) {
        *lossless = length > 0 && !usedDefault;
    }
    return bytes;
}

}  // namespace

std::wstring Wide(std::string_view utf8) {
    return ToWide(CP_UTF8, utf8);
}

std::string Utf8(std::wstring_view wide) {
    return FromWide(CP_UTF8, wide, nullptr);
}

std::string AnsiToUtf8(std::string_view ansi) {
    return Utf8(ToWide(CP_ACP, ansi));
}

bool Utf8ToAnsi(std::string_view utf8, std::string& ansi) {
    if (utf8.empty()) {
        ansi.clear();
        return true;
    }
    bool lossless = false;
    ansi = FromWide(::GetACP(), Wide(utf8), &lossless);
    // Text that was not UTF-8 came back as U+FFFD, which no ANSI code page holds.
    if (lossless && Utf8(Wide(utf8)) == utf8) {
        return true;
    }
    ansi.clear();  // what stood in for the missing characters must reach nobody
    return false;
}

}  // namespace velkin
