// Start-up: the game's path, the Windows version, the title, and the settings folder.
#pragma once

#include <memory>
#include <string>

#include "common/ports.h"

namespace velkin {

// Fields of the main window that start-up fills.
struct HostState {
    std::string GamePath;
    std::string WindowsVersion;
    std::string VersionText;
    std::string UserName;
};

// What start-up needs from the machine beyond its files.
class StartupMachine {
  public:
    virtual ~StartupMachine() = default;
    // General::ReadRegistryString; "Incorrect Format:" goes to `view`.
    virtual std::string ReadRegistryString(const std::string& keyPath, const std::string& valueName,
                                           View& view) = 0;
    // The logon name from the USERNAME variable; "" when unset.
    virtual std::string UserName() = 0;
    virtual std::string ProgramFolder() = 0;    // FolderOf the exe; "" when unknown
    virtual std::string DocumentsFolder() = 0;  // the shell's Documents folder; "" when unknown
};

// The machine the program runs on.
std::unique_ptr<StartupMachine> MakeNativeStartupMachine();

// Runs once, before the window is first shown. `settingsPath` is SettingsState::SettingsPath.
void RunStartup(HostState& state, std::string& settingsPath, View& view, StartupMachine& machine,
                FileSystem& files);

}  // namespace velkin
