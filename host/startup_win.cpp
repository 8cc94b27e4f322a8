// The machine that start-up runs on: registry, environment, files, folders.
#include <windows.h>
#include <shlobj.h>

#include "host/registry.h"
#include "host/startup.h"

namespace velkin {
namespace {

class NativeStartupMachine : public StartupMachine {
  public:
    std::string ReadRegistryString(const std::string& keyPath, const std::string& valueName,
                                   View& view) override {
        return General::ReadRegistryString(keyPath, valueName, view);
    }

    std::string UserName() override {
        std::string name(64, '\0');
        for (;;) {
            const DWORD size = static_cast<DWORD>(name.size());
            const DWORD length = ::GetEnvironmentVariableA("USERNAME", &name[0], size);
            if (length < size) {
                name.resize(length);  // 0 when unset
                return name;
            }
            name.resize(length);  // the size it needs, with its terminating zero
        }
    }

    std::string ProgramFolder() override {
        std::string path(MAX_PATH, '\0');
        for (;;) {
            const DWORD length =
                ::GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
            if (length == 0) {
                return "";
            }
            if (length < path.size()) {
                path.resize(length);
                break;
            }
            path.resize(path.size() * 2);
        }
        const std::string::size_type slash = path.rfind('\\');
        return slash == std::string::npos ? "" : path.substr(0, slash);
    }

    std::string DocumentsFolder() override {
        char folder[MAX_PATH] = {};
        if (::SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, folder) != S_OK) {
            return "";
        }
        return folder;
    }
};

}  // namespace

std::unique_ptr<StartupMachine> MakeNativeStartupMachine() {
    return std::make_unique<NativeStartupMachine>();
}

}  // namespace velkin
