// ReadSettings: the press of Command1.
#include <new>

#include "settings/settings.h"

namespace velkin {

namespace {

const char kFolderPrompt[] =
    "Enter the full path to you Environment.cfg file. Usually in "
    "C:\\Users\\%USERNAME%\\Documents\\Corvane on Vista\\Win7 C:\\Documents and "
    "Settings\\%USERNAME%\\My Documents\\Corvane on Windows XP. Do not enter trailing \\!";

// Shorter than this, a folder text means that no folder is known.
constexpr std::size_t kMinFolderLength = 2;

Result ReadLines(FileSystem& files, const std::string& path, std::vector<std::string>& lines,
                 std::uint64_t& hash) {
    try {
        std::string bytes;
        const Result read = files.ReadBytes(path, bytes);
        if (!read.ok) {
            return read;
        }
        hash = ContentHash(bytes);
        return SplitSettingsText(bytes, lines);
    } catch (const std::bad_alloc&) {
        return Result::Failure("There is not enough memory to hold it.");
    }
}

}  // namespace

void ReadSettings(SettingsState& state, View& view, FileSystem& files) {
    const bool asked = state.SettingsPath.size() < kMinFolderLength;
    if (asked) {
        std::string folder = FolderFromAnswer(view.AskForText(kFolderPrompt));
        // A drive root is never what was meant, so a short answer reads nothing and asks again.
        if (folder.size() < kMinFolderLength) {
            return;
        }
        state.SettingsPath = std::move(folder);
    }
    state.SettingsFile = state.SettingsPath + std::string(kSettingsFileName);

    // Emptied before the test, so that the table and its count never describe a file not read.
    state.Lines.clear();
    state.LineCount = 0;

    if (!files.FileExists(state.SettingsFile)) {
        state.LastRead = ReadOutcome::Missing;
        state.SeenOnDisk.reset();
        view.ShowMessage("There is no Environment.cfg in " + state.SettingsPath +
                             ".\r\nSave settings would create one there.",
                         Icon::Warning);
        // A typed folder may hold a typo: the next press asks again. A found one stays.
        if (asked) {
            state.SettingsPath.clear();
        }
        return;
    }
    std::vector<std::string> lines;
    std::uint64_t hash = 0;
    const Result read = ReadLines(files, state.SettingsFile, lines, hash);
    if (!read.ok) {
        state.LastRead = ReadOutcome::Failed;
        view.ShowMessage("Could not read " + state.SettingsFile + ":\r\n" + read.reason,
                         Icon::Error);
        return;
    }
    state.Lines = std::move(lines);
    state.LineCount = state.Lines.size();
    state.LastRead = ReadOutcome::Read;
    state.SeenOnDisk = hash;

    for (const std::string& line : state.Lines) {
        ApplyLine(line, view, files);
    }
}

}  // namespace velkin
