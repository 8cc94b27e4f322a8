// Starts a program maximised through CreateProcessA, without waiting for it.
#include <windows.h>

#include "handle_win.h"
#include "launcher.h"

namespace velkin {
namespace {

// The system's text for an error code, without the line end FormatMessageA puts behind it.
std::string SystemErrorText(DWORD code) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length > 0 && buffer != nullptr ? std::string(buffer, length) : "";
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text.empty() ? "Error " + std::to_string(code) : text;
}

class NativeProgramStarter : public ProgramStarter {
  public:
    bool StartMaximized(const std::string& application, const std::string& commandLine,
                        const std::string& workDir, std::string& reason) override {
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWMAXIMIZED;
        PROCESS_INFORMATION process = {};
        std::string line = commandLine;  // CreateProcessA may write into it
        if (!CreateProcessA(application.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                            workDir.empty() ? nullptr : workDir.c_str(), &startup, &process)) {
            reason = SystemErrorText(GetLastError());
            return false;
        }
        const Handle processHandle(process.hProcess);
        const Handle threadHandle(process.hThread);
        return true;
    }
};

}  // namespace

std::unique_ptr<ProgramStarter> MakeNativeProgramStarter() {
    return std::make_unique<NativeProgramStarter>();
}

}  // namespace velkin
