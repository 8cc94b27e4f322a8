// The settings file Environment.cfg: what the program reads from it and writes to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/ports.h"

namespace velkin {

// The file system of the machine the program runs on.
std::unique_ptr<FileSystem> MakeNativeFileSystem();

// The settings file and its backup, as appended to the settings folder.
inline constexpr std::string_view kSettingsFileName = "\\Environment.cfg";
inline constexpr std::string_view kBackupFileName = "\\Environment.cf0";

// SwitchTable: row n is held by the check box CheckN; in the file it is the key followed by
// "=1" (checked) or "=0" (unchecked).
inline constexpr std::string_view SwitchTable[] = {
    "SND_ENABLE",        "SHOW_DEVELOPMENT",
    "SHOW_CONFIDENTIAL", "SKIPINTRO",
    "R_DYNAMICLOADMIPS", "VID_VSYNC",
    "VID_FULLSCREEN",    "VID_FULLSCREEN_WINDOWED_TOGGLE_ENABLED",
    "FORCESPECTATOR",    "XR_FOG",
    "XR_MOTIONBLUR_DOF", "XR_FLARES",
    "XR_GRAIN",
};

// ValueTable: row n is held by the text box TextN; in the file it is the literal followed by
// the box's text.
inline constexpr std::string_view ValueTable[] = {
    "VID_DWIDTH=",     "VID_DHEIGHT=",     "MAXTEXTUREQUALITY=", "R_ANTIALIAS=",
    "R_ANISOTROPY=",   "VID_GAMMA=",       "VID_GAMMARAMP=",     "XR_LOD=",
    "XR_LODOFFSET=",   "XR_LODSCALE=",     "XR_SHADERMODE=",     "VID_BRIGHTNESS=",
    "VID_BLACKLEVEL=", "VID_PIXELASPECT=",
};

constexpr int kSwitchCount = 13;  // Check1..Check13
constexpr int kValueCount = 14;   // Text1..Text14
static_assert(std::size(SwitchTable) == kSwitchCount);
static_assert(std::size(ValueTable) == kValueCount);

// What the last press of Command1 found.
enum class ReadOutcome {
    None,     // no press has formed a file name yet
    Missing,  // no file of that name
    Failed,   // the file is there but could not be read
    Read,     // read: Lines holds it
};

// The run-time fields that the window's handlers share.
struct SettingsState {
    std::string SettingsPath;  // folder of Environment.cfg, no trailing backslash; < 2 chars: none
    std::string SettingsFile;  // SettingsPath + "\Environment.cfg", formed by the reader
    std::vector<std::string> Lines;  // the file's lines as last read, in file order
    std::size_t LineCount = 0;       // always Lines.size()
    ReadOutcome LastRead = ReadOutcome::None;
    // SettingsFile as Velkin last saw it, read or written (ContentHash); none: no file there.
    // A save writes only over that, so that nothing the game wrote meanwhile is lost.
    std::optional<std::uint64_t> SeenOnDisk;
};

// Recognises one line against the 40 literals and sets the control it names, if any; a value
// is shown as the text its bytes are in `files`' code page.
void ApplyLine(const std::string& line, View& view, FileSystem& files);

// The 200 lines of a new Environment.cfg, filled from the controls (OutLines), each value in
// `files`' code page. Fails, naming the row, when a value has a character the code page lacks.
Result FillTemplate(View& view, FileSystem& files, std::vector<std::string>& lines);

// The lines of a settings file's bytes: CR LF, a lone LF and a lone CR each end a line, and a
// leading UTF-8 byte-order mark is skipped. A UTF-16 file is no ANSI text: a failure.
Result SplitSettingsText(std::string_view bytes, std::vector<std::string>& lines);

// A fingerprint of a file's bytes, to tell whether it changed.
std::uint64_t ContentHash(std::string_view bytes);

// Every line followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);

// The folder that an answer to the input box names: surrounding blanks and double quotes
// removed, and a name ending in \Environment.cfg taken as its folder.
std::string FolderFromAnswer(std::string answer);

// Runs on every press of Command1.
void ReadSettings(SettingsState& state, View& view, FileSystem& files);

// Runs on File > Save.
void WriteSettings(SettingsState& state, View& view, FileSystem& files);

}  // namespace velkin
