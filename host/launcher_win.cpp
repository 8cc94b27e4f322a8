// Starts a program maximised through CreateProcessA, without waiting for it.
#include <windows.h>

#include "handle_win.h"
#include "launcher.h"
#include "system_reason.h"

namespace velkin {
namespace {

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
