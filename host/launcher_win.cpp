// Starts the game maximised through CreateProcessW, without waiting for it.
#include <windows.h>

#include "host/launcher.h"
#include "win32/owner.h"
#include "win32/system_error.h"
#include "win32/text.h"

namespace velkin {

namespace {

// An entry of type REG_EXPAND_SZ, or one that names %ProgramFiles% and the like, means the
// expanded path.
Result Expand(const std::string& path, std::string& expanded) {
    const std::wstring wide = Wide(path);
    std::wstring buffer(MAX_PATH, L'\0');
    // A second try with the size the first one asked for; the environment does not change in
    // between, since nothing else runs on this thread.
    for (int tries = 0; tries < 2; ++tries) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD needed = ::ExpandEnvironmentStringsW(wide.c_str(), &buffer[0], size);
        if (needed == 0) {
            return LastError();
        }
        if (needed <= size) {
            buffer.resize(needed - 1);  // without its terminating zero
            expanded = Utf8(buffer);
            return Result::Success();
        }
        buffer.assign(needed, L'\0');
    }
    return LastError(ERROR_INSUFFICIENT_BUFFER);
}

}  // namespace

void LaunchGame(const std::string& gamePath, View& view) {
    std::string expanded;
    const Result expansion = Expand(gamePath, expanded);
    if (!expansion.ok) {
        view.ShowMessage(
            StartFailure(gamePath,
                         "The variables in its path could not be expanded: " + expansion.reason),
            Icon::Error);
        return;
    }
    LaunchPlan plan = PlanLaunch(expanded);
    if (!plan.refusal.empty()) {
        view.ShowMessage(plan.refusal, Icon::Error);
        return;
    }
    const std::wstring program = Wide(plan.program);
    const DWORD attributes = ::GetFileAttributesW(program.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        view.ShowMessage(StartFailure(plan.program, "It is a folder, not a program."), Icon::Error);
        return;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMAXIMIZED;
    PROCESS_INFORMATION process = {};
    std::wstring commandLine = Wide(plan.commandLine);  // CreateProcessW may write to it
    const std::wstring folder = Wide(plan.folder);
    if (!::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
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
