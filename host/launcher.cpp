// Starts the game from the path that start-up read from its uninstall entry.
#include "launcher.h"

namespace velkin {
namespace {

const char kNotInstalled[] =
    "Corvane is not installed: its entry was not found in the registry, so Velkin does not know "
    "where to start it from.";

// The game's own folder; a drive's root keeps its backslash, since "C:" alone means the drive's
// current folder. "" (inherit ours) when the path names no folder.
std::string GameFolder(const std::string& gamePath) {
    const std::string::size_type slash = gamePath.find_last_of("\\/");
    if (slash == std::string::npos) {
        return "";
    }
    std::string folder = gamePath.substr(0, slash);
    if (folder.size() == 2 && folder[1] == ':') {
        folder += '\\';
    }
    return folder;
}

}  // namespace

void LaunchGame(const std::string& gamePath, ProgramStarter& starter, LaunchUi& ui) {
    if (gamePath.empty() || gamePath == "Error") {
        ui.ShowError(kNotInstalled);
        return;
    }
    // Quoted, so that a path with blanks never starts a program named by a shorter part of it.
    const std::string commandLine = "\"" + gamePath + "\"";
    std::string reason;
    if (!starter.StartMaximized(gamePath, commandLine, GameFolder(gamePath), reason)) {
        ui.ShowError("Could not start " + gamePath + ":\r\n" + reason);
    }
}

}  // namespace velkin
