// Starts the game maximised through CreateProcessA, without waiting for it.
#include <windows.h>

#include "host/launcher.h"
#include "win32/owner.h"
#include "win32/system_error.h"

namespace velkin {

namespace {

// An entry of type REG_EXPAND_SZ, or one that names %ProgramFiles% and the like, means the
// expanded path.
std::string Expanded(const std::string& path) {
    const DWORD size = ::ExpandEnvironmentStringsA(path.c_str(), nullptr, 0);
    std::string expanded(size, '\0');
    if (size == 0 || ::ExpandEnvironmentStringsA(path.c_str(), &expanded[0], size) == 0) {
        return path;
    }
    expanded.resize(expanded.find('\0'));
    return expanded;
}

}  // namespace

void LaunchGame(const std::string& gamePath, View& view) {
    LaunchPlan plan = PlanLaunch(Expanded(gamePath));
    if (!plan.refusal.empty()) {
        view.ShowMessage(plan.refusal, Icon::Error);
        return;
    }
    const DWORD attributes = ::GetFileAttributesA(plan.program.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        view.ShowMessage(StartFailure(plan.program, "It is a folder, not a program."), Icon::Error);
        return;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMAXIMIZED;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(plan.program.c_str(), &plan.commandLine[0], nullptr, nullptr, FALSE, 0,
                          nullptr, plan.folder.empty() ? nullptr : plan.folder.c_str(), &startup,
                          &process)) {
        const DWORD error = ::GetLastError();
        view.ShowMessage(
            StartFailure(plan.program, error == ERROR_BAD_EXE_FORMAT || error == ERROR_BAD_FORMAT ||
                                               error == ERROR_EXE_MACHINE_TYPE_MISMATCH
                                           ? "It is not a program that Windows can start."
                                           : SystemErrorText(error)),
            Icon::Error);
        return;
    }
    const Handle processHandle(process.hProcess);
    const Handle threadHandle(process.hThread);
}

}  // namespace velkin
