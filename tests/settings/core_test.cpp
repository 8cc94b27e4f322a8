// The settings core over fakes: line recognition, line ends, the press of Command1 and the save.
#include <gtest/gtest.h>

#include <string>

#include "fakes.h"
#include "system_reason.h"

namespace velkin::test {
namespace {

// Logs every change ApplyLine makes, as "CheckN=0/1" or "TextN=<text>".
class RecordingView : public FakeView {
  public:
    Lines changes;
    void SetCheck(int n, bool on) override {
        changes.push_back("Check" + std::to_string(n) + (on ? "=1" : "=0"));
    }
    void SetText(int n, const std::string& text) override {
        changes.push_back("Text" + std::to_string(n) + "=" + text);
    }
};

struct Key {
    const char* key;
    int n;
};
const Key kSwitches[] = {
    {"SND_ENABLE", 1},         {"SHOW_DEVELOPMENT", 2},
    {"SHOW_CONFIDENTIAL", 3},  {"SKIPINTRO", 4},
    {"R_DYNAMICLOADMIPS", 5},  {"VID_VSYNC", 6},
    {"VID_FULLSCREEN", 7},     {"VID_FULLSCREEN_WINDOWED_TOGGLE_ENABLED", 8},
    {"FORCESPECTATOR", 9},     {"XR_FOG", 10},
    {"XR_MOTIONBLUR_DOF", 11}, {"XR_FLARES", 12},
    {"XR_GRAIN", 13},
};
const Key kValues[] = {
    {"VID_DWIDTH", 1},      {"VID_DHEIGHT", 2},      {"MAXTEXTUREQUALITY", 3},
    {"R_ANTIALIAS", 4},     {"R_ANISOTROPY", 5},     {"VID_GAMMA", 6},
    {"VID_GAMMARAMP", 7},   {"XR_LOD", 8},           {"XR_LODOFFSET", 9},
    {"XR_LODSCALE", 10},    {"XR_SHADERMODE", 11},   {"VID_BRIGHTNESS", 12},
    {"VID_BLACKLEVEL", 13}, {"VID_PIXELASPECT", 14},
};

TEST(ApplyLine, EachLineChangesAtMostItsOwnControl) {
    struct Case {
        std::string line;
        std::string change;  // "" when the line must change nothing
    };
    std::vector<Case> cases = {
        // Only the key and its digit are compared; a value is the rest of the line, verbatim.
        {"SND_ENABLE=10", "Check1=1"},
        {"SND_ENABLE=0x", "Check1=0"},
        {"XR_FOG=1\x80", "Check10=1"},
        {"VID_GAMMARAMP=0.9 1.0", "Text7=0.9 1.0"},
        {"VID_DWIDTH= 1920 ", "Text1= 1920 "},
        {"VID_DWIDTH=", "Text1="},
        {"VID_DWIDTH=a=b VID_DHEIGHT=3", "Text1=a=b VID_DHEIGHT=3"},
        {std::string("VID_DWIDTH=\xe9\0x", 14), std::string("Text1=\xe9\0x", 9)},
    };
    // Look-alikes that are not the key.
    for (const char* line :
         {"snd_enable=1", " SND_ENABLE=1", "SND_ENABLE =1", "SND_ENABLE=2", "SND_ENABLE",
          "SND_ENABLE_DEBUGPAGES=1", "XR_FOGGY=1", "#XR_FOG=1", "VID_FULLSCREEN_WINDOWED=1", "",
          "VID_DWIDTH =1920", "XR_LOD", "XR_LODBIAS=1", "VID_GAMMARAM=1"}) {
        cases.push_back({line, ""});
    }
    for (const Key& s : kSwitches) {
        for (const char* digit : {"0", "1"}) {
            cases.push_back(
                {s.key + std::string("=") + digit, "Check" + std::to_string(s.n) + "=" + digit});
        }
    }
    for (const Key& v : kValues) {
        cases.push_back(
            {v.key + std::string("=v") + v.key, "Text" + std::to_string(v.n) + "=v" + v.key});
    }
    for (const Case& c : cases) {
        RecordingView view;
        ApplyLine(c.line, view);
        EXPECT_EQ(c.change.empty() ? Lines{} : Lines{c.change}, view.changes)
            << "line \"" << c.line << "\"";
    }
}

TEST(SplitLines, EachLineEndEndsOneLine) {
    const struct {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\n\r\nb", {"a", "", "b"}},
        {"a\r\r\n", {"a", ""}},
        {"a\n\r", {"a", ""}},
        {" x = y \t\r\n", {" x = y \t"}},
        {std::string("a\0b\r\n\xff\xfe", 7), {std::string("a\0b", 3), "\xff\xfe"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.lines, SplitLines(c.bytes)) << "for bytes \"" << c.bytes << "\"";
    }
    EXPECT_EQ("a\r\n\r\nb \r\n", JoinLines({"a", "", "b "}));
    EXPECT_EQ("Access is denied.", TidyReason("Access is denied.\r\n"));
    EXPECT_EQ("Permission denied.", TidyReason("Permission denied"));
}

const char kPrompt[] =
    "Enter the full path to you Environment.cfg file. Usually in "
    "C:\\Users\\%USERNAME%\\Documents\\Corvane on Vista\\Win7 C:\\Documents and "
    "Settings\\%USERNAME%\\My Documents\\Corvane on Windows XP. Do not enter trailing \\!";
const char kFolder[] = "C:\\Users\\ann\\Documents\\Corvane";
const char kFile[] = "C:\\Users\\ann\\Documents\\Corvane\\Environment.cfg";
const char kBackup[] = "C:\\Users\\ann\\Documents\\Corvane\\Environment.cf0";

struct Settings : ::testing::Test {
    SettingsState state;
    FakeView view;
    FakeFileSystem files;

    void Read() { ReadSettings(state, view, files); }
    void Save() { WriteSettings(state, view, files); }
};

TEST_F(Settings, NoFolderYetAsksAndReadsInTheSamePress) {
    for (const char* known : {"", "1"}) {  // "1" is what start-up leaves for none
        state = {};
        state.SettingsPath = known;
        view.prompts.clear();
        view.answers = {kFolder};
        files.files[kFile] = "SND_ENABLE=1\r\nVID_DWIDTH=1600\r\n";
        Read();
        EXPECT_EQ(Lines{kPrompt}, view.prompts);
        EXPECT_EQ(kFile, state.SettingsFile);
        EXPECT_TRUE(view.checks[1]);
        EXPECT_EQ("1600", view.texts[1]);
        Read();
        EXPECT_EQ(1u, view.prompts.size()) << "a known folder is not asked for again";
    }
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(Settings, CancelOrAShortAnswerEndsThePressAndAsksAgainNextTime) {
    for (const char* answer : {"", "C"}) {
        state = {};
        state.SettingsPath = "1";
        view.prompts.clear();
        files.existsAsked.clear();
        view.answers = {answer};
        Read();
        EXPECT_EQ("1", state.SettingsPath) << "answer \"" << answer << "\"";
        EXPECT_EQ("", state.SettingsFile) << "answer \"" << answer << "\"";
        EXPECT_TRUE(files.existsAsked.empty()) << "answer \"" << answer << "\": looked for a file";
        view.answers = {kFolder};
        Read();
        EXPECT_EQ(2u, view.prompts.size()) << "answer \"" << answer << "\": not asked again";
    }
    state.SettingsPath = "D:";
    Read();
    EXPECT_EQ("D:\\Environment.cfg", state.SettingsFile) << "a known folder is used as it stands";
}

TEST_F(Settings, TheLastLineOfAKeyWinsAndOtherControlsStay) {
    state.SettingsPath = kFolder;
    view.checks[9] = true;
    view.texts[3] = "old";
    view.texts[5] = "16";
    files.files[kFile] =
        "SND_ENABLE=1\r\nVID_DWIDTH=640\r\nSND_ENABLE=0\r\n# x\nVID_DWIDTH=800\r\n"
        "MAXTEXTUREQUALITY=1024\rMAXTEXTUREQUALITY=";
    Read();
    EXPECT_FALSE(view.checks[1]);
    EXPECT_EQ("800", view.texts[1]);
    EXPECT_EQ("", view.texts[3]);
    EXPECT_TRUE(view.checks[9]) << "a key not in the file keeps its box";
    EXPECT_EQ("16", view.texts[5]);
    EXPECT_EQ(7u, state.LineCount);
    EXPECT_EQ("# x", state.Lines[3]) << "unmanaged lines are kept";
}

TEST_F(Settings, AMissingOrUnreadableFileEmptiesTheTableAndKeepsTheControls) {
    const struct {
        bool unreadable;
        Lines messages;
    } cases[] = {
        {false, {}},
        {true, {std::string("[error] Could not read ") + kFile + ":\r\nAccess is denied."}},
    };
    for (const auto& c : cases) {
        state = {};
        state.SettingsPath = kFolder;
        view.messages.clear();
        files.files[kFile] = "SND_ENABLE=1\r\nVID_DWIDTH=800\r\n";
        Read();
        ASSERT_EQ(2u, state.LineCount);
        view.texts[2] = "typed";
        if (c.unreadable) {
            files.unreadable.insert(kFile);
        } else {
            files.files.erase(kFile);
        }
        Read();
        EXPECT_EQ(c.messages, view.messages);
        EXPECT_EQ(Lines{}, state.Lines);
        EXPECT_EQ(0u, state.LineCount);
        EXPECT_FALSE(state.FileRead);
        EXPECT_TRUE(view.checks[1]);
        EXPECT_EQ("800", view.texts[1]);
        EXPECT_EQ("typed", view.texts[2]);
    }
}

TEST_F(Settings, NoFileNameYetMeansAMessageAndNothingWritten) {
    view.marker = "Set.";
    Save();
    EXPECT_EQ(Lines{"[error] Nothing to save yet: no settings file has been read. Click "
                    "Environment.cfg to read your settings first."},
              view.messages);
    EXPECT_EQ(Lines{}, files.written);
}

const char kBackingUp[] = "[warning] Creating Backup of Current Settings to Environment.cf0";
const char kGenerated[] = "Config file generated! Press OK to write Environment.cfg!";
const char kWritten[] = "Environment.cfg written successfully!";
const char kOld[] = "SND_ENABLE=1\nX = y \r\n";         // the file as it was read
const char kOldBackup[] = "good backup\r\n";            // Environment.cf0 before the save
const char kBackedUp[] = "SND_ENABLE=1\r\nX = y \r\n";  // kOld as lines, re-ended

TEST_F(Settings, SaveBacksUpOnlyAFileReadWithTheMarkerSet) {
    enum Before { kRead, kMissing, kUnreadable };
    const std::string backupFailed = std::string("[error] Could not write ") + kBackup +
                                     ":\r\nAccess is denied.\r\nNothing was saved; your files "
                                     "are as they were.";
    const std::string writeFailed = std::string("[error] Could not write ") + kFile +
                                    ":\r\nAccess is denied.\r\nThe file was left as it was.";
    const struct {
        const char* marker;
        Before read;
        const char* unwritable;
        Lines written;
        Lines messages;
        const char* backup;  // Environment.cf0 afterwards
    } cases[] = {
        {"Set.", kRead, "", {kBackup, kFile}, {kBackingUp, kGenerated, kWritten}, kBackedUp},
        {"NOT Set.", kRead, "", {kFile}, {kGenerated, kWritten}, kOldBackup},
        {"set.", kRead, "", {kFile}, {kGenerated, kWritten}, kOldBackup},
        {"Set. ", kRead, "", {kFile}, {kGenerated, kWritten}, kOldBackup},
        {"Set.", kMissing, "", {kFile}, {kGenerated, kWritten}, kOldBackup},
        {"Set.", kUnreadable, "", {kFile}, {kGenerated, kWritten}, kOldBackup},
        {"Set.", kRead, kBackup, {}, {kBackingUp, backupFailed}, kOldBackup},
        {"Set.", kRead, kFile, {kBackup}, {kBackingUp, kGenerated, writeFailed}, kBackedUp},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("marker \"") + c.marker + "\", read " + std::to_string(c.read) +
                     ", unwritable \"" + c.unwritable + "\"");
        SettingsState fresh;
        fresh.SettingsPath = kFolder;
        state = fresh;
        files = {};
        files.files[kFile] = kOld;
        files.files[kBackup] = kOldBackup;
        files.unwritable.insert(c.unwritable);
        if (c.read == kMissing) {
            Read();  // the read before found the file, the last one did not
            files.files.erase(kFile);
        }
        if (c.read == kUnreadable) {
            files.unreadable.insert(kFile);
        }
        Read();
        view.messages.clear();
        view.marker = c.marker;
        Save();
        EXPECT_EQ(c.written, files.written);
        EXPECT_EQ(c.messages, view.messages);
        EXPECT_EQ(c.backup, files.files[kBackup]);
        const std::size_t lines = c.written.empty() || c.written.back() != kFile ? 2 : 200;
        EXPECT_EQ(lines, SplitLines(files.files[kFile]).size()) << "lines in Environment.cfg";
    }
}

}  // namespace
}  // namespace velkin::test
