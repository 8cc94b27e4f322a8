// The machine that start-up runs on: registry, hidden commands, waits, files and folders.
#include <windows.h>
#include <shlobj.h>

#include "platform.h"
#include "process_win.h"
#include "startup.h"

namespace velkin {
namespace {

class NativeStartupMachine : public StartupMachine {
  public:
    explicit NativeStartupMachine(General::FormatReport& report)
        : registry_(MakeNativeRegistry()), files_(MakeNativeFileSystem()), report_(report) {}

    std::string ReadRegistryString(const std::string& keyPath,
                                   const std::string& valueName) override {
        return General::ReadRegistryString(keyPath, valueName, *registry_, report_);
    }

    bool StartHidden(const std::string& commandLine, const std::string& workDir) override {
        return StartProcess(nullptr, commandLine, workDir, SW_HIDE, CREATE_NO_WINDOW) == 0;
    }

    void Sleep(unsigned milliseconds) override { ::Sleep(milliseconds); }

    bool ReadTextFile(const std::string& path, std::vector<std::string>& lines) override {
        return files_->ReadLines(path, lines).ok;
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

    bool FileExists(const std::string& path) override { return files_->FileExists(path); }

    std::string DocumentsFolder() override {
        char folder[MAX_PATH] = {};
        if (SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, folder) != S_OK) {
            return "";
        }
        return folder;
    }

  private:
    std::unique_ptr<Registry> registry_;
    std::unique_ptr<FileSystem> files_;
    General::FormatReport& report_;
};

}  // namespace

std::unique_ptr<StartupMachine> MakeNativeStartupMachine(General::FormatReport& report) {
    return std::make_unique<NativeStartupMachine>(report);
}

}  // namespace velkin
