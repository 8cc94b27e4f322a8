// Start-up: reads the game's path and the Windows version, asks whether to look for the settings
// folder, and looks for it under the fixed layout of the Windows family, then in Documents.
#include "host/startup.h"

#include "common/paths.h"
#include "settings/settings.h"

namespace velkin {
namespace {

const char kUninstallKey[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane_is1";
const char kWindowsKey[] = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion";
const char kQuestion[] = "Would you like to try and automatically detect settings path?";
const char kTitle[] = "Velkin - Corvane Advanced Config Tool ";
const char kVersionText[] = VELKIN_VERSION_TEXT;
const char kFound[] = "Settings path auto-detected :) Click Set Environment.cfg to detect values.";
// Earlier versions had the command interpreter write the user's name here, beside the program.
const char kScratchFile[] = "usr.tmp";
const char kNoFolder[] = "1";

// A fixed layout: the settings folder is prefix + user name + suffix.
struct Layout {
    const char* prefix;
    const char* suffix;
};

constexpr Layout kXpLayout = {"C:\\Documents and Settings\\", "\\My Documents\\Corvane"};
constexpr Layout kUsersLayout = {"C:\\Users\\", "\\Documents\\Corvane"};

std::string CutAtNul(std::string text) {
    const std::string::size_type nul = text.find('\0');
    if (nul != std::string::npos) {
        text.erase(nul);
    }
    return text;
}

std::string DropTrailingBlanks(std::string line) {
    const std::string::size_type last = line.find_last_not_of(' ');
    line.erase(last == std::string::npos ? 0 : last + 1);
    return line;
}

bool HoldsSettingsFile(FileSystem& files, const std::string& folder) {
    return files.FileExists(folder + std::string(kSettingsFileName));
}

// The folder that holds the settings file, or "" when neither place has it.
std::string FindSettingsFolder(const std::string& layoutFolder, StartupMachine& machine,
                               FileSystem& files) {
    if (HoldsSettingsFile(files, layoutFolder)) {
        return layoutFolder;
    }
    const std::string documents = machine.DocumentsFolder();
    if (documents.empty()) {
        return "";
    }
    const std::string folder = JoinPath(documents, "Corvane");
    return HoldsSettingsFile(files, folder) ? folder : "";
}

}  // namespace

void RunStartup(HostState& state, std::string& settingsPath, View& view, StartupMachine& machine,
                FileSystem& files) {
    state.GamePath = CutAtNul(machine.ReadRegistryString(kUninstallKey, "DisplayIcon", view));
    state.WindowsVersion =
        CutAtNul(machine.ReadRegistryString(kWindowsKey, "CurrentVersion", view));
    // Whatever the answer, a usr.tmp left by an earlier version must not stay behind; gone before
    // the question, so that nothing but the answer's own work stands between it and the window.
    const std::string programFolder = machine.ProgramFolder();
    if (!programFolder.empty()) {
        files.RemoveFile(JoinPath(programFolder, kScratchFile));
    }
    const bool detect = view.AskYesNo(kQuestion);
    state.VersionText = kVersionText;
    view.SetTitle(kTitle + state.VersionText);

    if (detect) {
        // What "echo %USERNAME%" would print: the variable of our own environment.
        state.UserName = DropTrailingBlanks(machine.UserName());

        const bool xp = state.WindowsVersion == "5.1";
        const Layout& layout = xp ? kXpLayout : kUsersLayout;
        const std::string folder =
            FindSettingsFolder(layout.prefix + state.UserName + layout.suffix, machine, files);
        if (!folder.empty()) {
            settingsPath = folder;
            view.ShowMessage(kFound, Icon::None);
            view.SetMarker("Set.");
        } else if (!xp) {
            settingsPath = kNoFolder;
        }
    } else {
        settingsPath = kNoFolder;
    }
}

}  // namespace velkin
