// ReadSettings: the press of Command1.
#include "settings.h"

namespace velkin {

namespace {

const char kFolderPrompt[] =
    "Enter the full path to you Environment.cfg file. Usually in "
    "C:\\Users\\%USERNAME%\\Documents\\Corvane on Vista\\Win7 C:\\Documents and "
    "Settings\\%USERNAME%\\My Documents\\Corvane on Windows XP. Do not enter trailing \\!";

// Shorter than this, a folder text means that no folder is known.
constexpr std::size_t kMinFolderLength = 2;

}  // namespace

void ReadSettings(SettingsState& state, SettingsView& view, FileSystem& files) {
    if (state.SettingsPath.size() < kMinFolderLength) {
        std::string answer = view.AskForText(kFolderPrompt);
        // A drive root is never what was meant, so a short answer reads nothing and asks again.
        if (answer.size() < kMinFolderLength) {
            return;
        }
        state.SettingsPath = std::move(answer);
    }
    state.SettingsFile = state.SettingsPath + "\\Environment.cfg";

    // Emptied before the test, so that the table and its count never describe a file not read.
    state.Lines.clear();
    state.LineCount = 0;
    state.FileRead = false;

    if (!files.FileExists(state.SettingsFile)) {
        return;
    }
    std::vector<std::string> lines;
    const FileResult read = files.ReadLines(state.SettingsFile, lines);
    if (!read.ok) {
        view.ShowMessage("Could not read " + state.SettingsFile + ":\r\n" + read.reason,
                         Icon::Error);
        return;
    }
    state.Lines = std::move(lines);
    state.LineCount = state.Lines.size();
    state.FileRead = true;

    for (const std::string& line : state.Lines) {
        ApplyLine(line, view);
    }
}

}  // namespace velkin
