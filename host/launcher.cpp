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

bool EndsWithExe(const std::string& path) {
    if (path.size() < 4) {
        return false;
    }
    std::string end = path.substr(path.size() - 4);
    for (char& c : end) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return end == ".exe";
}

// Uninstall entries may give the icon as "path",N or path,N (N the icon's index): the program
// file is the path alone. Anything else is taken as it stands.
std::string ProgramFile(const std::string& displayIcon) {
    if (!displayIcon.empty() && displayIcon[0] == '"') {
        const std::string::size_type close = displayIcon.find('"', 1);
        if (close != std::string::npos) {
            return displayIcon.substr(1, close - 1);
        }
    }
    const std::string::size_type comma = displayIcon.find_last_of(',');
    if (comma != std::string::npos) {
        const std::string index = displayIcon.substr(comma + 1);
        const std::string::size_type digits = index.find_first_not_of(" -");
        const bool isIndex = digits != std::string::npos &&
                             index.find_first_not_of("0123456789", digits) == std::string::npos;
        const std::string path = displayIcon.substr(0, comma);
        if (isIndex && EndsWithExe(path)) {
            return path;
        }
    }
    return displayIcon;
}

}  // namespace

void LaunchGame(const std::string& gamePath, ProgramStarter& starter, LaunchUi& ui) {
    if (gamePath.empty() || gamePath == "Error") {
        ui.ShowError(kNotInstalled);
        return;
    }
    const std::string program = ProgramFile(gamePath);
    // Quoted, so that a path with blanks never starts a program named by a shorter part of it.
    const std::string commandLine = "\"" + program + "\"";
    std::string reason;
    if (!starter.StartMaximized(program, commandLine, GameFolder(program), reason)) {
        ui.ShowError("Could not start " + program + ":\r\n" + reason);
    }
}

}  // namespace velkin
