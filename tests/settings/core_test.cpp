// The settings core over fakes: line recognition, the text of files and answers, the press of
// Command1 and the save, against golden files made by tests/golden/make-golden.sh.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <new>

#include "fakes.h"

namespace velkin::test {
namespace {

std::string Golden(const char* name) {
    std::ifstream in(std::string(VELKIN_GOLDEN_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << "expected the golden file " << name << ", got none";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Lines Split(const std::string& bytes) {
    Lines lines;
    EXPECT_TRUE(SplitSettingsText(bytes, lines).ok);
    return lines;
}

TEST(ApplyLine, OnlyAWholeLiteralAtTheStartCounts) {
    const struct {
        std::string line;
        int check;  // the box set, 0 for none
        bool on;
        int text;  // the box set, 0 for none
        std::string value;
    } cases[] = {
        {"SND_ENABLE=10", 1, true, 0, ""},
        {"SND_ENABLE=0x", 1, false, 0, ""},
        {"VID_FULLSCREEN=1", 7, true, 0, ""},
        {"VID_FULLSCREEN_WINDOWED_TOGGLE_ENABLED=1", 8, true, 0, ""},
        {"XR_LODOFFSET=-0.25", 0, false, 9, "-0.25"},
        {"XR_LOD=2", 0, false, 8, "2"},
        {"VID_GAMMARAMP=0.9 1.0", 0, false, 7, "0.9 1.0"},
        {"VID_DWIDTH= 1920 ", 0, false, 1, " 1920 "},
        {"VID_DWIDTH=", 0, false, 1, ""},
        {std::string("VID_DHEIGHT=\xe9\0x", 15), 0, false, 2, std::string("\xe9\0x", 3)},
        {"snd_enable=1", 0, false, 0, ""},
        {" SND_ENABLE=1", 0, false, 0, ""},
        {"SND_ENABLE =1", 0, false, 0, ""},
        {"SND_ENABLE=2", 0, false, 0, ""},
        {"SND_ENABLE=", 0, false, 0, ""},
        {"SND_ENABLE_DEBUGPAGES=1", 0, false, 0, ""},
        {"VID_FULLSCREEN_WINDOWED=1", 0, false, 0, ""},
        {"#XR_FOG=1", 0, false, 0, ""},
        {"XR_LODBIAS=1", 0, false, 0, ""},
        {"VID_GAMMARAM=1", 0, false, 0, ""},
        {"", 0, false, 0, ""},
    };
    for (const auto& c : cases) {
        FakeView view, before;
        view.texts[c.text] = "untouched";
        before.texts[c.text] = "untouched";
        ApplyLine(c.line, view);
        for (int n = 1; n <= kValueCount; ++n) {
            const bool set = n == c.text;
            EXPECT_EQ(set ? c.value : before.texts[n], view.texts[n]) << "Text" << n << ", line "
                                                                      << c.line;
            if (n <= kSwitchCount) {
                EXPECT_EQ(n == c.check && c.on, view.checks[n]) << "Check" << n << ", line "
                                                                << c.line;
            }
        }
    }
}

TEST(SettingsText, LineEndsMarksAndAnswers) {
    const struct {
        std::string bytes;
        Lines lines;
    } texts[] = {
        {"", {}},
        {"\r\n", {""}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\n\r\nb", {"a", "", "b"}},
        {"\xEF\xBB\xBFVID_DWIDTH=1\r\n", {"VID_DWIDTH=1"}},
        {"x\xEF\xBB\xBF", {"x\xEF\xBB\xBF"}},
        {std::string("a\0b\r\n\xff\xfe", 7), {std::string("a\0b", 3), "\xff\xfe"}},
    };
    for (const auto& t : texts) {
        EXPECT_EQ(t.lines, Split(t.bytes)) << "for bytes \"" << t.bytes << "\"";
    }
    EXPECT_EQ("a\r\n\r\nb \r\n", JoinLines({"a", "", "b "}));
    for (const char* unicode : {"\xFF\xFEV\0", "\xFE\xFF\0V"}) {
        Lines lines;
        const Result result = SplitSettingsText(std::string(unicode, 4), lines);
        EXPECT_FALSE(result.ok) << "a UTF-16 mark: expected a failure, got success";
        EXPECT_NE(std::string::npos, result.reason.find("not ANSI text")) << result.reason;
    }

    const std::pair<const char*, const char*> answers[] = {
        {"C:\\Games\\Corvane", "C:\\Games\\Corvane"},
        {"  \"C:\\My Games\\Corvane\"\t ", "C:\\My Games\\Corvane"},
        {"C:\\Corvane\\Environment.cfg", "C:\\Corvane"},
        {"\"D:\\Corvane\\ENVIRONMENT.CFG\" ", "D:\\Corvane"},
        {"C:\\Corvane\\Environment.cfg.bak", "C:\\Corvane\\Environment.cfg.bak"},
        {"C:\\Corvane\\MyEnvironment.cfg", "C:\\Corvane\\MyEnvironment.cfg"},
        {"C:\\Corvane\\", "C:\\Corvane\\"},
        {" \"\" ", ""},
    };
    for (const auto& a : answers) {
        EXPECT_EQ(a.second, FolderFromAnswer(a.first)) << "answer \"" << a.first << "\"";
    }
}

const char kPrompt[] =
    "input Enter the full path to you Environment.cfg file. Usually in "
    "C:\\Users\\%USERNAME%\\Documents\\Corvane on Vista\\Win7 C:\\Documents and "
    "Settings\\%USERNAME%\\My Documents\\Corvane on Windows XP. Do not enter trailing \\!";
const char kFolder[] = "C:\\Users\\ann\\Documents\\Corvane";
const char kFile[] = "C:\\Users\\ann\\Documents\\Corvane\\Environment.cfg";
const char kBackup[] = "C:\\Users\\ann\\Documents\\Corvane\\Environment.cf0";
const char kMissing[] =
    "[warning] There is no Environment.cfg in C:\\Users\\ann\\Documents\\Corvane.\r\nSave "
    "settings would create one there.";
const char kBackingUp[] = "[warning] Creating Backup of Current Settings to Environment.cf0";
const char kGenerated[] = "Config file generated! Press OK to write Environment.cfg!";
const char kWritten[] = "Environment.cfg written successfully!";

struct Settings : ::testing::Test {
    SettingsState state;
    FakeView view;
    FakeFileSystem files;

    void Read() { ReadSettings(state, view, files); }
    void Save() { WriteSettings(state, view, files); }
};

// What the game's own file shows in the window, and what a save then writes.
TEST_F(Settings, TheGameFileReadAndSavedGivesTheGoldenFiles) {
    files.files[kFile] = Golden("sample-input.cfg");
    files.files[kBackup] = "an older backup\r\n";
    state.SettingsPath = kFolder;
    Read();
    const char kChecks[] = "1101010101010";
    const char* const kTexts[] = {"1920", "1080",  "2048", "4", "8",    "1.15", "0.9 1.0 1.1",
                                  "2",    "-0.25", "1.5",  "3", "0.52", "0.07", "1.000000"};
    for (int n = 1; n <= kValueCount; ++n) {
        EXPECT_EQ(kTexts[n - 1], view.texts[n]) << "Text" << n;
        if (n <= kSwitchCount) {
            EXPECT_EQ(kChecks[n - 1] == '1', view.checks[n]) << "Check" << n;
        }
    }
    Save();
    EXPECT_EQ((Lines{kBackingUp, kGenerated, kWritten}), view.boxes);
    EXPECT_EQ(Golden("sample-input.cfg"), files.files[kBackup]);
    EXPECT_EQ(Golden("sample-output.cfg"), files.files[kFile]);

    // A line end pasted into a box never reaches the file as a line of its own.
    FakeView empty;
    empty.texts[6] = "\r\nFORCESPECTATOR=1";
    empty.texts[1] = "\nVID_DWIDTH=1";
    WriteSettings(state, empty, files);
    EXPECT_EQ(Golden("empty-output.cfg"), files.files[kFile]);
}

TEST_F(Settings, APressAsksForAFolderUntilOneHoldsTheFile) {
    const struct {
        const char* known;  // SettingsPath before the press
        const char* answer;
        bool present;
        Lines boxes;
        const char* after;  // SettingsPath after the press
        bool formed;        // the press formed the file name
    } cases[] = {
        {"", kFolder, true, {kPrompt}, kFolder, true},
        {"1", "\"C:\\Users\\ann\\Documents\\Corvane\\Environment.cfg\"", true, {kPrompt}, kFolder,
         true},
        {"1", "", true, {kPrompt}, "1", false},
        {"1", "C", true, {kPrompt}, "1", false},
        {"", kFolder, false, {kPrompt, kMissing}, "", true},
        {kFolder, "", false, {kMissing}, kFolder, true},
        {kFolder, "", true, {}, kFolder, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("known \"") + c.known + "\", answer \"" + c.answer + "\"");
        state = {};
        state.SettingsPath = c.known;
        view = {};
        view.answers = {c.answer};
        files = {};
        if (c.present) {
            files.files[kFile] = "SND_ENABLE=1\r\n";
        }
        Read();
        EXPECT_EQ(c.boxes, view.boxes);
        EXPECT_EQ(c.after, state.SettingsPath);
        EXPECT_EQ(c.formed ? kFile : "", state.SettingsFile);
        EXPECT_EQ(c.formed && c.present, view.checks[1]);
    }
}

TEST_F(Settings, AFailedReadSaysWhyKeepsTheControlsAndBlocksTheSave) {
    class NoMemory : public FakeFileSystem {
        Result ReadBytes(const std::string&, std::string&) override { throw std::bad_alloc(); }
    };
    const std::string head = std::string("[error] Could not read ") + kFile + ":\r\n";
    const struct {
        std::string bytes;
        bool unreadable, noMemory;
        const char* reason;
    } cases[] = {
        {"SND_ENABLE=0\r\n", true, false, "Access is denied."},
        {std::string("\xFF\xFES\0N\0D\0", 8), false, false, "It is Unicode (UTF-16) text, not ANSI text."},
        {"SND_ENABLE=0\r\n", false, true, "There is not enough memory to hold it."},
    };
    for (const auto& c : cases) {
        NoMemory noMemory;
        FakeFileSystem plain;
        FakeFileSystem& disk = c.noMemory ? noMemory : plain;
        disk.files[kFile] = c.bytes;
        disk.files[kBackup] = "good backup\r\n";
        if (c.unreadable) {
            disk.unreadable.insert(kFile);
        }
        state = {};
        state.SettingsPath = kFolder;
        view = {};
        view.checks[1] = true;
        ReadSettings(state, view, disk);
        ASSERT_EQ(1u, view.boxes.size());
        EXPECT_EQ(head + c.reason, view.boxes[0].substr(0, head.size() + strlen(c.reason)));
        EXPECT_TRUE(view.checks[1]) << c.reason << ": expected Check1 as it was, got it changed";
        EXPECT_EQ(0u, state.LineCount);
        WriteSettings(state, view, disk);
        EXPECT_EQ(Lines{}, disk.written) << c.reason;
        EXPECT_EQ(std::string("[error] Nothing was saved: ") + kFile +
                      " could not be read, so saving would replace it with settings you have not "
                      "seen.\r\nClick Environment.cfg to read it again first.",
                  view.boxes.back());
    }
}

TEST_F(Settings, EverySaveAfterARealReadBacksUpWhatWasRead) {
    enum Before { kNone, kRead, kEmpty, kMissingNow };
    const std::string backupFailed = std::string("[error] Could not write ") + kBackup +
                                     ":\r\nAccess is denied.\r\nNothing was saved; your files "
                                     "are as they were.";
    const std::string writeFailed = std::string("[error] Could not write ") + kFile +
                                    ":\r\nAccess is denied.\r\nThe file was left as it was.";
    const std::string nothingYet =
        "[error] Nothing to save yet: no settings file has been read. Click Environment.cfg to "
        "read your settings first.";
    const char kOld[] = "SND_ENABLE=1\nX = y \r\n";    // the file as it was read
    const char kKept[] = "SND_ENABLE=1\r\nX = y \r\n";  // kOld as lines, re-ended
    const char kGood[] = "good backup\r\n";            // Environment.cf0 before the save
    const struct {
        Before read;
        const char* unwritable;
        Lines written;
        Lines boxes;
        const char* backup;  // Environment.cf0 afterwards
    } cases[] = {
        {kRead, "", {kBackup, kFile}, {kBackingUp, kGenerated, kWritten}, kKept},
        {kEmpty, "", {kFile}, {kGenerated, kWritten}, kGood},
        {kMissingNow, "", {kFile}, {kMissing, kGenerated, kWritten}, kGood},
        {kNone, "", {}, {nothingYet}, kGood},
        {kRead, kBackup, {}, {kBackingUp, backupFailed}, kGood},
        {kRead, kFile, {kBackup}, {kBackingUp, kGenerated, writeFailed}, kKept},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases));
        state = {};
        state.SettingsPath = kFolder;
        view = {};
        view.marker = "Set.";
        files = {};
        files.files[kFile] = c.read == kEmpty ? "" : kOld;
        files.files[kBackup] = kGood;
        files.unwritable.insert(c.unwritable);
        if (c.read == kMissingNow) {
            Read();  // the press before found the file, the last one did not
            files.files.erase(kFile);
            view.boxes.clear();
        }
        if (c.read != kNone) {
            Read();
        }
        Save();
        EXPECT_EQ(c.written, files.written);
        EXPECT_EQ(c.boxes, view.boxes);
        EXPECT_EQ(c.backup, files.files[kBackup]);
        const bool wrote = !c.written.empty() && c.written.back() == kFile;
        EXPECT_EQ(wrote ? 200u : 2u, Split(files.files[kFile]).size()) << "lines in Environment.cfg";
    }
}

}  // namespace
}  // namespace velkin::test
