// What starting the game from its uninstall entry means, and what to say when it cannot start.
#include "host/launcher.h"

#include "common/paths.h"

namespace velkin {
namespace {

const char kNotInstalled[] =
    "Corvane is not installed: its entry was not found in the registry, so Velkin does not know "
    "where to start it from.";
const char kNoPath[] =
    "Corvane's entry in the registry gives no program path, so Velkin does not know where to "
    "start it from. Reinstalling Corvane may repair the entry.";

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
        if (isIndex && EndsWithNoCase(path, ".exe")) {
            return path;
        }
    }
    return displayIcon;
}

// A box shows control characters as boxes or not at all; the user should see that they are
// there.
std::string Printable(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = '?';
        }
    }
    return text;
}

}  // namespace

LaunchPlan PlanLaunch(const std::string& gamePath) {
    LaunchPlan plan;
    if (gamePath == "Error") {
        plan.refusal = kNotInstalled;
        return plan;
    }
    plan.program = ProgramFile(gamePath);
    if (plan.program.find_first_not_of(' ') == std::string::npos) {
        plan.refusal = kNoPath;
        return plan;
    }
    // Quoted, so that a path with blanks never starts a program named by a shorter part of it.
    plan.commandLine = "\"" + plan.program + "\"";
    plan.folder = FolderOf(plan.program);  // "" inherits ours
    return plan;
}

std::string StartFailure(const std::string& program, const std::string& reason) {
    return "Could not start " + Printable(program) + ":\r\n" + reason;
}

}  // namespace velkin
