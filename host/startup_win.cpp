// The machine that start-up runs on: registry, hidden commands, waits, files and folders.
#include <windows.h>
#include <shlobj.h>

#include "handle_win.h"
#include "startup.h"
#include "text_lines.h"

namespace velkin {
namespace {

class NativeStartupMachine : public StartupMachine {
  public:
    explicit NativeStartupMachine(General::FormatReport& report)
        : registry_(MakeNativeRegistry()), report_(report) {}

    std::string ReadRegistryString(const std::string& keyPath,
                                   const std::string& valueName) override {
        return General::ReadRegistryString(keyPath, valueName, *registry_, report_);
    }

    bool StartHidden(const std::string& commandLine, const std::string& workDir) override {
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        PROCESS_INFORMATION process = {};
        std::string line = commandLine;  // CreateProcessA may write into it
        if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                            workDir.empty() ? nullptr : workDir.c_str(), &startup, &process)) {
            return false;
        }
        const Handle processHandle(process.hProcess);
        const Handle threadHandle(process.hThread);
        return true;
    }

    void Sleep(unsigned milliseconds) override { ::Sleep(milliseconds); }

    bool ReadTextFile(const std::string& path, std::vector<std::string>& lines) override {
        const Handle file(CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            return false;
        }
        std::string bytes;
        char chunk[4096];
        DWORD got = 0;
        do {
            if (!ReadFile(file.get(), chunk, sizeof(chunk), &got, nullptr)) {
                return false;
            }
            bytes.append(chunk, got);
        } while (got > 0);
        lines = SplitLines(bytes);
        return true;
    }

    std::string ProgramFolder() override {
        std::string path(MAX_PATH, '\0');
        for (;;) {
            const DWORD length =
                GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
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

    bool FileExists(const std::string& path) override {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }

    std::string DocumentsFolder() override {
        char folder[MAX_PATH] = {};
        if (SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, folder) != S_OK) {
            return "";
        }
        return folder;
    }

  private:
    std::unique_ptr<Registry> registry_;
    General::FormatReport& report_;
};

}  // namespace

std::unique_ptr<StartupMachine> MakeNativeStartupMachine(General::FormatReport& report) {
    return std::make_unique<NativeStartupMachine>(report);
}

}  // namespace velkin
