// WriteSettings: File > Save.
#include <utility>

#include "settings/settings.h"

namespace velkin {

namespace {

const char kReadOnlyQuestion[] =
    "Environment.cfg is read-only, perhaps so that the game cannot change it. Write it anyway "
    "and keep it read-only?";
const char kNothingSaved[] = "\r\nNothing was saved; your files are as they were.";

// Environment.cf0 is the newest backup, Environment.cf4 the oldest kept.
constexpr int kBackups = 5;

std::string BackupName(int n) {
    return "Environment.cf" + std::to_string(n);
}

std::string NameOf(const std::string& path) {
    return path.substr(path.find_last_of('\\') + 1);
}

// What the backup step left in Environment.cf0, for every box after it.
enum class Backup {
    None,       // no backup made
    Created,    // there was none before
    Unchanged,  // it held these settings already
    Rotated,    // a different one became Environment.cf1
};

// The end of a sentence that says where the backups are.
std::string BackupNote(Backup backup) {
    switch (backup) {
        case Backup::None:
            break;
        case Backup::Created:
            return "; Environment.cf0 now holds the settings as Velkin read them.";
        case Backup::Unchanged:
            return "; Environment.cf0 holds the settings as Velkin read them, as before.";
        case Backup::Rotated:
            return "; Environment.cf0 now holds the settings as Velkin read them, and the older "
                   "backup is Environment.cf1.";
    }
    return ".";
}

using Rename = std::pair<std::string, std::string>;  // from, to

// Undoes the renames, the last first; tells the user what is where afterwards.
std::string Undo(const std::vector<Rename>& done, FileSystem& files) {
    std::string stuck;
    for (auto step = done.rbegin(); step != done.rend(); ++step) {
        if (!files.RenameFile(step->second, step->first).ok) {
            stuck += (stuck.empty() ? " " : "; ") + NameOf(step->first) + " is now " +
                     NameOf(step->second);
        }
    }
    return stuck.empty()
               ? kNothingSaved
               : "\r\nNothing was saved, but not every backup could be put back:" + stuck + ".";
}

// Makes Environment.cf0 hold `bytes`. A different one before it becomes Environment.cf1, each
// older backup moves one place on, up to the first missing one or to Environment.cf4, whose
// file is dropped. Only renames, so that a failure can undo them and leave every file as it was.
Result KeepBackups(const std::string& folder, const std::string& bytes, FileSystem& files,
                   Backup& backup) {
    const auto path = [&folder](int n) { return folder + "\\" + BackupName(n); };
    std::vector<Rename> done;
    std::string dropped;  // the oldest, set aside until the new backup is in place
    if (files.FileExists(path(0))) {
        std::string held;
        if (files.ReadBytes(path(0), held).ok && held == bytes) {
            backup = Backup::Unchanged;
            return Result::Success();
        }
        int gap = 1;
        while (gap < kBackups && files.FileExists(path(gap))) {
            ++gap;
        }
        if (gap == kBackups) {
            --gap;
            const Result aside = files.SetAside(path(gap), dropped);
            if (!aside.ok) {
                return Result::Failure("Could not rename " + path(gap) +
                                       " to make room for the newer backups:\r\n" + aside.reason +
                                       kNothingSaved);
            }
            done.emplace_back(path(gap), dropped);
        }
        for (int n = gap; n > 0; --n) {
            const Result moved = files.RenameFile(path(n - 1), path(n));
            if (!moved.ok) {
                return Result::Failure("Could not rename " + path(n - 1) + " to " + BackupName(n) +
                                       ":\r\n" + moved.reason + Undo(done, files));
            }
            done.emplace_back(path(n - 1), path(n));
        }
    }
    const Result written = files.WriteBytes(path(0), bytes, ReadOnly::Refuse);
    if (!written.ok) {
        return Result::Failure("Could not write " + path(0) + ":\r\n" + written.reason +
                               Undo(done, files));
    }
    // Should this fail, the name is one that the next save sweeps away.
    if (!dropped.empty()) {
        files.RemoveFile(dropped);
    }
    backup = done.empty() ? Backup::Created : Backup::Rotated;
    return Result::Success();
}

// Why SettingsFile must not be written over now, and what to do about it.
struct Refusal {
    std::string why, advice;
};

// Whether SettingsFile is still as Velkin last saw it. The game rewrites it when it quits, and a
// file may appear where a press found none: writing over either would lose what is in it, from
// both files. A file that has gone holds nothing to lose.
std::optional<Refusal> Changed(const SettingsState& state, FileSystem& files) {
    if (!files.FileExists(state.SettingsFile)) {
        return std::nullopt;
    }
    std::string bytes;
    const Result read = files.ReadBytes(state.SettingsFile, bytes);
    if (!read.ok) {
        return Refusal{state.SettingsFile +
                           " could not be read to check that it is as it was read:\r\n" +
                           read.reason,
                       ""};
    }
    if (state.SeenOnDisk && *state.SeenOnDisk == ContentHash(bytes)) {
        return std::nullopt;
    }
    return Refusal{state.SettingsFile +
                       (state.SeenOnDisk ? " has changed since Velkin read it, perhaps by the game."
                                         : " has appeared since Velkin looked for it, perhaps "
                                           "written by the game.") +
                       " Saving now would lose what it holds.",
                   "Click Environment.cfg to read it first."};
}

// The box for a refusal, saying what the backup step left on disk.
std::string RefusalText(const Refusal& refusal, Backup backup) {
    std::string text = backup == Backup::None
                           ? "Nothing was saved: " + refusal.why
                           : "Environment.cfg was not saved: " + refusal.why +
                                 "\r\nEnvironment.cfg was left as it was" + BackupNote(backup);
    return refusal.advice.empty() ? text : text + "\r\n" + refusal.advice;
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
    if (const auto refusal = Changed(state, files)) {
        view.ShowMessage(RefusalText(*refusal, Backup::None), Icon::Error);
        return;
    }
    // The player may have made it so to keep the game from resetting it.
    const bool readOnly = files.IsReadOnly(state.SettingsFile);
    if (readOnly && !view.AskYesNo(kReadOnlyQuestion, Icon::Warning)) {
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
    Backup backup = Backup::None;
    if (!state.Lines.empty()) {
        view.ShowMessage("Creating Backup of Current Settings to Environment.cf0", Icon::Warning);
        const Result kept = KeepBackups(state.SettingsPath, JoinLines(state.Lines), files, backup);
        if (!kept.ok) {
            view.ShowMessage(kept.reason, Icon::Error);
            return;
        }
    }

    const std::string bytes = JoinLines(filled);
    view.ShowMessage("Config file generated! Press OK to write Environment.cfg!", Icon::None);
    // The box may have stood open while the game wrote the file.
    if (const auto refusal = Changed(state, files)) {
        view.ShowMessage(RefusalText(*refusal, backup), Icon::Error);
        return;
    }
    const Result written =
        files.WriteBytes(state.SettingsFile, bytes, readOnly ? ReadOnly::Keep : ReadOnly::Refuse);
    if (!written.ok) {
        view.ShowMessage("Could not write " + state.SettingsFile + ":\r\n" + written.reason +
                             "\r\nThe file was left as it was" + BackupNote(backup),
                         Icon::Error);
        return;
    }
    state.SeenOnDisk = ContentHash(bytes);
    // What a save cut short left behind, now that this one is through.
    files.RemoveLeftovers(state.SettingsFile);
    files.RemoveLeftovers(state.SettingsPath + std::string(kBackupFileName));
    view.ShowMessage("Environment.cfg written successfully!", Icon::None);
}

}  // namespace velkin
