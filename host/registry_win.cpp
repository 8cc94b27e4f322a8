// The machine's registry through advapi32's ANSI functions, always in the 32-bit view.
#include <windows.h>

#include "win32/owner.h"
#include "host/registry.h"

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
    if (::RegOpenKeyExA(RootKey(rootKey), subKey.c_str(), 0, kAccess, key.Out()) != ERROR_SUCCESS) {
        return kError;
    }
    std::string buffer(kBufferSize, ' ');
    DWORD type = REG_SZ;
    DWORD size = kBufferSize;
    if (::RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(&buffer[0]), &size) != ERROR_SUCCESS) {
        return kError;
    }
    return ShapeValue(buffer.data(), size);
}

}  // namespace General
}  // namespace velkin
