// WriteSettings: File > Save.
#include "settings.h"

namespace velkin {

void WriteSettings(const SettingsState& state, SettingsView& view, FileSystem& files) {
    if (state.SettingsFile.empty()) {
        view.ShowMessage(
            "Nothing to save yet: no settings file has been read. Click Environment.cfg to read "
            "your settings first.",
            Icon::Error);
        return;
    }

    // A backup of a table that holds no file would replace a good backup with nothing.
    if (view.GetMarker() == "Set." && state.FileRead) {
        view.ShowMessage("Creating Backup of Current Settings to Environment.cf0", Icon::Warning);
        const std::string backupFile = state.SettingsPath + "\\Environment.cf0";
        const FileResult backup = files.WriteLines(backupFile, state.Lines);
        if (!backup.ok) {
            view.ShowMessage("Could not write " + backupFile + ":\r\n" + backup.reason +
                                 "\r\nNothing was saved; your files are as they were.",
                             Icon::Error);
            return;
        }
    }

    const std::vector<std::string> outLines = FillTemplate(view);
    view.ShowMessage("Config file generated! Press OK to write Environment.cfg!", Icon::None);
    const FileResult written = files.WriteLines(state.SettingsFile, outLines);
    if (!written.ok) {
        view.ShowMessage("Could not write " + state.SettingsFile + ":\r\n" + written.reason +
                             "\r\nThe file was left as it was.",
                         Icon::Error);
        return;
    }
    view.ShowMessage("Environment.cfg written successfully!", Icon::None);
}

}  // namespace velkin
