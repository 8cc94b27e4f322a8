// Start-up: the game's path, the Windows version, the title, and the settings folder.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "registry.h"

namespace velkin {

// Fields of the main window that start-up fills.
struct HostState {
    std::string GamePath;
    std::string WindowsVersion;
    std::string VersionText;
    std::string UserName;
};

// What start-up needs from the window. Boxes carry the application title and no icon.
class StartupUi {
  public:
    virtual ~StartupUi() = default;
    virtual bool AskYesNo(const std::string& text) = 0;     // Yes is the default; true for Yes
    virtual void ShowMessage(const std::string& text) = 0;  // one OK button
    virtual void SetTitle(const std::string& title) = 0;
    virtual void SetMarker(const std::string& caption) = 0;  // Label28
};

// What start-up needs from the machine.
class StartupMachine {
  public:
    virtual ~StartupMachine() = default;
    virtual std::string ReadRegistryString(const std::string& keyPath,
                                           const std::string& valueName) = 0;
    // Starts a command line with its window hidden, in `workDir`, without waiting.
    virtual bool StartHidden(const std::string& commandLine, const std::string& workDir) = 0;
    virtual void Sleep(unsigned milliseconds) = 0;
    virtual bool ReadTextFile(const std::string& path, std::vector<std::string>& lines) = 0;
    virtual std::string ProgramFolder() = 0;               // no trailing backslash
    virtual bool FileExists(const std::string& path) = 0;  // a failed test is "not found"
    virtual std::string DocumentsFolder() = 0;  // the shell's Documents folder; "" when unknown
};

// The machine the program runs on; "Incorrect Format:" messages go to `report`.
std::unique_ptr<StartupMachine> MakeNativeStartupMachine(General::FormatReport& report);

// Runs once, before the window is first shown. `settingsPath` is SettingsState::SettingsPath.
void RunStartup(HostState& state, std::string& settingsPath, StartupUi& ui,
                StartupMachine& machine);

}  // namespace velkin
