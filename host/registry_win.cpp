// The machine's registry through advapi32's wide functions, always in the 32-bit view.
#include <windows.h>

#include "host/registry.h"
#include "win32/owner.h"
#include "win32/text.h"

namespace velkin {
namespace General {
namespace {

// The 64-bit headers sign-extend the predefined handles; so does this.
HKEY RootKey(std::uint32_t value) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(value)));
}

// The program was a 32-bit one; a 64-bit build reads the same view.
#ifdef _WIN64
constexpr REGSAM kAccess = KEY_READ | KEY_WOW64_32KEY;
#else
constexpr REGSAM kAccess = KEY_READ;
#endif

const char kError[] = "Error";

}  // namespace

std::string ReadRegistryString(const std::string& keyPath, const std::string& valueName,
                               View& view) {
    std::string subKey = keyPath;
    std::uint32_t rootKey = 0;
    SplitRootKey(subKey, rootKey, view);
    if (rootKey == 0) {
        return "";
    }
    RegistryKey key;
    if (::RegOpenKeyExW(RootKey(rootKey), Wide(subKey).c_str(), 0, kAccess, key.Out()) !=
        ERROR_SUCCESS) {
        return kError;
    }
    // kBufferSize characters: a value of one less, with its terminating zero, fits; a longer
    // one is more data than the buffer takes, an error.
    std::wstring buffer(kBufferSize, L' ');
    DWORD type = REG_SZ;
    DWORD size = kBufferSize * sizeof(wchar_t);
    if (::RegQueryValueExW(key.Get(), Wide(valueName).c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(&buffer[0]), &size) != ERROR_SUCCESS) {
        return kError;
    }
    buffer.resize(size / sizeof(wchar_t));
    return ShapeValue(Utf8(buffer));
}

}  // namespace General
}  // namespace velkin
