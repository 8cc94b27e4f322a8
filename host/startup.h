// Start-up: the game's path, the Windows version, the title, and the settings folder.
#pragma once

#include <memory>
#include <string>

#include "ports.h"

namespace velkin {

// Fields of the main window that start-up fills.
struct HostState {
    std::string GamePath;
    std::string WindowsVersion;
    std::string VersionText;
    std::string UserName;
};

// What start-up needs from the machine.
class StartupMachine {
  public:
    virtual ~StartupMachine() = default;
    virtual std::string ReadRegistryString(const std::string& keyPath,
                                           const std::string& valueName) = 0;
    // The logon name from the USERNAME variable, in the ANSI code page; "" when unset.
    virtual std::string UserName() = 0;
    virtual void RemoveFile(const std::string& path) = 0;
    virtual std::string ProgramFolder() = 0;               // no trailing backslash
    virtual bool FileExists(const std::string& path) = 0;  // a failed test is "not found"
    virtual std::string DocumentsFolder() = 0;  // the shell's Documents folder; "" when unknown
};

// The machine the program runs on; "Incorrect Format:" messages go to `view`.
std::unique_ptr<StartupMachine> MakeNativeStartupMachine(View& view);

// Runs once, before the window is first shown. `settingsPath` is SettingsState::SettingsPath.
void RunStartup(HostState& state, std::string& settingsPath, View& view, StartupMachine& machine);

}  // namespace velkin
