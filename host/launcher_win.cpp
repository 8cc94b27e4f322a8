// Starts a program maximised through CreateProcessA, without waiting for it.
#include <windows.h>

#include "launcher.h"
#include "process_win.h"
#include "system_reason.h"

namespace velkin {
namespace {

class NativeProgramStarter : public ProgramStarter {
  public:
    bool StartMaximized(const std::string& application, const std::string& commandLine,
                        const std::string& workDir, std::string& reason) override {
        const DWORD error =
            StartProcess(application.c_str(), commandLine, workDir, SW_SHOWMAXIMIZED, 0);
        if (error != 0) {
            reason = SystemErrorText(error);
            return false;
        }
        return true;
    }
};

}  // namespace

std::unique_ptr<ProgramStarter> MakeNativeProgramStarter() {
    return std::make_unique<NativeProgramStarter>();
}

}  // namespace velkin
