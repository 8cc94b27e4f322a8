// The machine that start-up runs on: registry, the command interpreter, waits, files, folders.
#include <windows.h>
#include <shlobj.h>

#include "owner.h"
#include "registry.h"
#include "settings.h"
#include "startup.h"

namespace velkin {
namespace {

// Text that the command interpreter wrote is in the console's OEM code page.
std::string OemToAnsi(const std::string& oem) {
    if (oem.empty()) {
        return oem;
    }
    const int size = static_cast<int>(oem.size());
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    const int wideLength = ::MultiByteToWideChar(CP_OEMCP, 0, oem.data(), size, &wide[0], size);
    std::string ansi(static_cast<std::size_t>(wideLength) * 2, '\0');
    const int length = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, &ansi[0],
                                             static_cast<int>(ansi.size()), nullptr, nullptr);
    if (wideLength == 0 || length == 0) {
        return oem;
    }
    ansi.resize(static_cast<std::size_t>(length));
    return ansi;
}

class NativeStartupMachine : public StartupMachine {
  public:
    explicit NativeStartupMachine(View& view) : files_(MakeNativeFileSystem()), view_(view) {}

    std::string ReadRegistryString(const std::string& keyPath,
                                   const std::string& valueName) override {
        return General::ReadRegistryString(keyPath, valueName, view_);
    }

    // By the system folder's full path: a cmd.exe beside a downloaded Velkin.exe would be found
    // first by its bare name.
    bool StartHidden(const std::string& commandLine, const std::string& workDir) override {
        char system[MAX_PATH];
        const UINT length = ::GetSystemDirectoryA(system, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) {
            return false;
        }
        const std::string interpreter = std::string(system, length) + "\\cmd.exe";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        PROCESS_INFORMATION process = {};
        std::string line = commandLine;  // CreateProcessA may write into it
        if (!::CreateProcessA(interpreter.c_str(), &line[0], nullptr, nullptr, FALSE,
                              CREATE_NO_WINDOW, nullptr, workDir.empty() ? nullptr : workDir.c_str(),
                              &startup, &process)) {
            return false;
        }
        const Handle processHandle(process.hProcess);
        const Handle threadHandle(process.hThread);
        return true;
    }

    void Sleep(unsigned milliseconds) override { ::Sleep(milliseconds); }

    bool ReadScratchFile(const std::string& path, std::vector<std::string>& lines) override {
        std::string bytes;
        return files_->ReadBytes(path, bytes).ok && SplitSettingsText(OemToAnsi(bytes), lines).ok;
    }

    void RemoveFile(const std::string& path) override { ::DeleteFileA(path.c_str()); }

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

    bool FileExists(const std::string& path) override { return files_->FileExists(path); }

    std::string DocumentsFolder() override {
        char folder[MAX_PATH] = {};
        if (::SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, folder) != S_OK) {
            return "";
        }
        return folder;
    }

  private:
    std::unique_ptr<FileSystem> files_;
    View& view_;
};

}  // namespace

std::unique_ptr<StartupMachine> MakeNativeStartupMachine(View& view) {
    return std::make_unique<NativeStartupMachine>(view);
}

}  // namespace velkin
