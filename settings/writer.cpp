// WriteSettings: File > Save.
#include "settings/settings.h"

namespace velkin {

namespace {

// Whether SettingsFile is still as Velkin last saw it. The game rewrites it when it quits, and a
// file may appear where a press found none: writing over either would lose what is in it, from
// both files. A file that has gone holds nothing to lose.
bool StillAsSeen(const SettingsState& state, View& view, FileSystem& files) {
    if (!files.FileExists(state.SettingsFile)) {
        return true;
    }
    std::string bytes;
    const Result read = files.ReadBytes(state.SettingsFile, bytes);
    if (!read.ok) {
        view.ShowMessage("Nothing was saved: " + state.SettingsFile +
                             " could not be read to check that it is as it was read:\r\n" +
                             read.reason,
                         Icon::Error);
        return false;
    }
    if (state.SeenOnDisk && *state.SeenOnDisk == ContentHash(bytes)) {
        return true;
    }
    view.ShowMessage(
        "Nothing was saved: " + state.SettingsFile +
            (state.SeenOnDisk ? " has changed since Velkin read it, perhaps by the game."
                              : " has appeared since Velkin looked for it, perhaps written by "
                                "the game.") +
            " Saving now would lose what it holds.\r\nClick Environment.cfg to read it first.",
        Icon::Error);
    return false;
}

}  // namespace

void WriteSettings(SettingsState& state, View& view, FileSystem& files) {
    switch (state.LastRead) {
        case ReadOutcome::None:
            view.ShowMessage(
                "Nothing to save yet: no settings file has been read. Click Environment.cfg to "
                "read your settings first.",
                Icon::Error);
            return;
        case ReadOutcome::Failed:
            // The controls never received this file's values: writing them would lose it.
            view.ShowMessage("Nothing was saved: " + state.SettingsFile +
                                 " could not be read, so saving would replace it with settings "
                                 "you have not seen.\r\nClick Environment.cfg to read it again "
                                 "first.",
                             Icon::Error);
            return;
        case ReadOutcome::Missing:
        case ReadOutcome::Read:
            break;
    }
    if (!StillAsSeen(state, view, files)) {
        return;
    }

    // Filled before the backup, so that a value the file cannot hold leaves both files alone.
    std::vector<std::string> filled;
    const Result fill = FillTemplate(view, files, filled);
    if (!fill.ok) {
        view.ShowMessage(fill.reason, Icon::Error);
        return;
    }

    // Whatever the template does not carry survives only here. An empty table would replace
    // a good backup with nothing.
    if (!state.Lines.empty()) {
        view.ShowMessage("Creating Backup of Current Settings to Environment.cf0", Icon::Warning);
        const std::string backupFile = state.SettingsPath + std::string(kBackupFileName);
        const Result backup = files.WriteBytes(backupFile, JoinLines(state.Lines));
        if (!backup.ok) {
            view.ShowMessage("Could not write " + backupFile + ":\r\n" + backup.reason +
                                 "\r\nNothing was saved; your files are as they were.",
                             Icon::Error);
            return;
        }
    }

    const std::string bytes = JoinLines(filled);
    view.ShowMessage("Config file generated! Press OK to write Environment.cfg!", Icon::None);
    // The box may have stood open while the game wrote the file.
    if (!StillAsSeen(state, view, files)) {
        return;
    }
    const Result written = files.WriteBytes(state.SettingsFile, bytes);
    if (!written.ok) {
        view.ShowMessage("Could not write " + state.SettingsFile + ":\r\n" + written.reason +
                             "\r\nThe file was left as it was.",
                         Icon::Error);
        return;
    }
    state.SeenOnDisk = ContentHash(bytes);
    view.ShowMessage("Environment.cfg written successfully!", Icon::None);
}

}  // namespace velkin
