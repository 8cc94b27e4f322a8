// WriteSettings: File > Save.
#include "settings.h"

namespace velkin {

void WriteSettings(const SettingsState& state, View& view, FileSystem& files) {
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

    // Whatever the template does not carry survives only here. An empty table would replace
    // a good backup with nothing.
    if (!state.Lines.empty()) {
        view.ShowMessage("Creating Backup of Current Settings to Environment.cf0", Icon::Warning);
        const std::string backupFile = state.SettingsPath + "\\Environment.cf0";
        const Result backup = files.WriteBytes(backupFile, JoinLines(state.Lines));
        if (!backup.ok) {
            view.ShowMessage("Could not write " + backupFile + ":\r\n" + backup.reason +
                                 "\r\nNothing was saved; your files are as they were.",
                             Icon::Error);
            return;
        }
    }

    const std::string bytes = JoinLines(FillTemplate(view));
    view.ShowMessage("Config file generated! Press OK to write Environment.cfg!", Icon::None);
    const Result written = files.WriteBytes(state.SettingsFile, bytes);
    if (!written.ok) {
        view.ShowMessage("Could not write " + state.SettingsFile + ":\r\n" + written.reason +
                             "\r\nThe file was left as it was.",
                         Icon::Error);
        return;
    }
    view.ShowMessage("Environment.cfg written successfully!", Icon::None);
}

}  // namespace velkin
