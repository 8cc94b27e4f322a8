// The machine's registry through advapi32's ANSI functions, always in the 32-bit view.
#include <windows.h>

#include "registry.h"

namespace velkin {
namespace {

struct RootKeyMapping {
    std::uint32_t value;
    HKEY handle;
};

// The 64-bit headers sign-extend the predefined handles, so they are mapped, not cast.
const RootKeyMapping kRootKeys[] = {
    {General::kClassesRoot, HKEY_CLASSES_ROOT},
    {General::kCurrentUser, HKEY_CURRENT_USER},
    {General::kLocalMachine, HKEY_LOCAL_MACHINE},
    {General::kUsers, HKEY_USERS},
    {General::kPerformanceData, HKEY_PERFORMANCE_DATA},
    {General::kCurrentConfig, HKEY_CURRENT_CONFIG},
    {General::kDynData, HKEY_DYN_DATA},
};

// The program was a 32-bit one; a 64-bit build reads the same view.
#ifdef _WIN64
constexpr REGSAM kAccess = KEY_READ | KEY_WOW64_32KEY;
#else
constexpr REGSAM kAccess = KEY_READ;
#endif

class NativeRegistry : public Registry {
  public:
    long Open(std::uint32_t root, const std::string& subKey, Key& key) override {
        for (const RootKeyMapping& mapping : kRootKeys) {
            if (mapping.value == root) {
                HKEY opened = nullptr;
                const LONG result =
                    RegOpenKeyExA(mapping.handle, subKey.c_str(), 0, kAccess, &opened);
                if (result == ERROR_SUCCESS) {
                    key = reinterpret_cast<Key>(opened);
                }
                return result;
            }
        }
        return ERROR_INVALID_HANDLE;
    }

    long Query(Key key, const std::string& valueName, char* data, std::uint32_t& size) override {
        DWORD type = REG_SZ;
        DWORD bytes = size;
        const LONG result = RegQueryValueExA(reinterpret_cast<HKEY>(key), valueName.c_str(),
                                             nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes);
        size = bytes;
        return result;
    }

    void Close(Key key) override { RegCloseKey(reinterpret_cast<HKEY>(key)); }
};

}  // namespace

std::unique_ptr<Registry> MakeNativeRegistry() {
    return std::make_unique<NativeRegistry>();
}

}  // namespace velkin
