// Starts a program without waiting for it; shared by start-up's commands and the launcher.
#pragma once

#include <windows.h>

#include <string>

#include "handle_win.h"

namespace velkin {

// `application` may be null (the command line names the program). On failure returns the
// GetLastError code; 0 on success.
inline DWORD StartProcess(const char* application, const std::string& commandLine,
                          const std::string& workDir, WORD show, DWORD flags) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show;
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;  // CreateProcessA may write into it
    if (!::CreateProcessA(application, &line[0], nullptr, nullptr, FALSE, flags, nullptr,
                          workDir.empty() ? nullptr : workDir.c_str(), &startup, &process)) {
        return ::GetLastError();
    }
    const Handle processHandle(process.hProcess);
    const Handle threadHandle(process.hThread);
    return 0;
}

}  // namespace velkin
