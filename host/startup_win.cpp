// The machine that start-up runs on: registry, environment, files, folders, all through the wide
// functions, so that a name outside the ANSI code page arrives whole.
#include <windows.h>
#include <shlobj.h>

#include "common/paths.h"
#include "host/registry.h"
#include "host/startup.h"
#include "win32/text.h"

namespace velkin {
namespace {

// The longest path the wide functions take.
constexpr DWORD kLongestPath = 32768;

class NativeStartupMachine : public StartupMachine {
  public:
    std::string ReadRegistryString(const std::string& keyPath, const std::string& valueName,
                                   View& view) override {
        return General::ReadRegistryString(keyPath, valueName, view);
    }

    std::string UserName() override {
        std::wstring name(64, L'\0');
        for (;;) {
            const DWORD size = static_cast<DWORD>(name.size());
            const DWORD length = ::GetEnvironmentVariableW(L"USERNAME", &name[0], size);
            if (length < size) {
                name.resize(length);  // 0 when unset
                return Utf8(name);
            }
            name.resize(length);  // the size it needs, with its terminating zero
        }
    }

    std::string ProgramFolder() override {
        // A program in a folder deeper than MAX_PATH gets its path cut to the buffer: grow it.
        std::wstring path(MAX_PATH, L'\0');
        for (;;) {
            const DWORD size = static_cast<DWORD>(path.size());
            const DWORD length = ::GetModuleFileNameW(nullptr, &path[0], size);
            if (length == 0) {
                return "";
            }
            if (length < size) {
                path.resize(length);
                return FolderOf(Utf8(path));
            }
            if (size >= kLongestPath) {
                return "";
            }
            path.resize(size * 2);
        }
    }

    std::string DocumentsFolder() override {
        wchar_t folder[MAX_PATH] = {};
        if (::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, folder) != S_OK) {
            return "";
        }
        return Utf8(folder);
    }
};

}  // namespace

std::unique_ptr<StartupMachine> MakeNativeStartupMachine() {
    return std::make_unique<NativeStartupMachine>();
}

}  // namespace velkin
