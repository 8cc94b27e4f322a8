// The settings core over fakes: line recognition, the text of files and answers, the press of
// Command1 and the save, against golden files made by tests/golden/make-golden.sh. How a press
// asks for the folder is seen end to end, through the real input box.
#include <gtest/gtest.h>

#include <algorithm>
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
    const std::pair<std::string, std::string> cases[] = {
        {"SND_ENABLE=10", "Check1=1"},
        {"SND_ENABLE=0x", "Check1=0"},
        {"VID_FULLSCREEN=1", "Check7=1"},
        {"VID_FULLSCREEN_WINDOWED_TOGGLE_ENABLED=1", "Check8=1"},
        {"XR_LODOFFSET=-0.25", "Text9=-0.25"},
        {"XR_LOD=2", "Text8=2"},
        {"VID_GAMMARAMP=0.9 1.0", "Text7=0.9 1.0"},
        {"VID_DWIDTH= 1920 ", "Text1= 1920 "},
        {"VID_DWIDTH=", "Text1="},
        {std::string("VID_DHEIGHT=\xe9\0x", 15), std::string("Text2=\xe9\0x", 9)},
    };
    for (const auto& c : cases) {
        FakeView view;
        ApplyLine(c.first, view);
        EXPECT_EQ(Lines{c.second}, view.changes) << "line \"" << c.first << "\"";
    }
    for (const char* line : {"snd_enable=1", " SND_ENABLE=1", "SND_ENABLE =1", "SND_ENABLE=2",
                             "SND_ENABLE=", "SND_ENABLE_DEBUGPAGES=1", "VID_FULLSCREEN_WINDOWED=1",
                             "#XR_FOG=1", "XR_LODBIAS=1", "VID_GAMMARAM=1", ""}) {
        FakeView view;
        ApplyLine(line, view);
        EXPECT_EQ(Lines{}, view.changes) << "line \"" << line << "\"";
    }
}

TEST(SettingsText, LineEndsMarksAndAnswers) {
    const std::pair<std::string, Lines> texts[] = {
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
        EXPECT_EQ(t.second, Split(t.first)) << "for bytes \"" << t.first << "\"";
    }
    EXPECT_EQ("a\r\n\r\nb \r\n", JoinLines({"a", "", "b "}));
    for (const char* unicode : {"\xFF\xFEV\0", "\xFE\xFF\0V"}) {
        Lines lines;
        EXPECT_FALSE(SplitSettingsText(std::string(unicode, 4), lines).ok)
            << "a UTF-16 mark: expected a failure, got success";
    }

    const std::pair<const char*, const char*> answers[] = {
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

    void Start(const char* folder) {
        state = {};
        state.SettingsPath = folder;
        view = {};
    }
    void Read() { ReadSettings(state, view, files); }
    void Save() { WriteSettings(state, view, files); }
};

// The game's own file read and saved: every key travels from its line through its control to
// its place in the template. (What the controls show is checked end to end, through their IDs.)
TEST_F(Settings, TheGameFileReadAndSavedGivesTheGoldenFiles) {
    files.files[kFile] = Golden("sample-input.cfg");
    Start(kFolder);
    Read();
    Save();
    EXPECT_EQ((Lines{kBackingUp, kGenerated, kWritten}), view.boxes);
    EXPECT_EQ(Golden("sample-input.cfg"), files.files[kBackup]);
    EXPECT_EQ(Golden("sample-output.cfg"), files.files[kFile]);
}

std::string Joined(const Lines& boxes) {
    std::string all;
    for (const std::string& box : boxes) {
        all += box + "|";
    }
    return all;
}

// A save after a read that failed writes nothing: the controls never got that file's values.
TEST_F(Settings, EverySaveAfterARealReadBacksUpWhatWasRead) {
    struct NoMemory : FakeFileSystem {
        Result ReadBytes(const std::string&, std::string&) override { throw std::bad_alloc(); }
    };
    enum Before { kNone, kRead, kEmpty, kGone, kLocked, kUnicode, kHuge };
    const std::string read = std::string("[error] Could not read ") + kFile + ":\r\n";
    const std::string notSaved = std::string("[error] Nothing was saved: ") + kFile +
                                 " could not be read, so saving would replace it with settings "
                                 "you have not seen.\r\nClick Environment.cfg to read it again "
                                 "first.|";
    const std::string write = std::string("[error] Could not write ");
    const std::string saved = std::string(kBackingUp) + "|" + kGenerated + "|" + kWritten + "|";
    const char kOld[] = "SND_ENABLE=1\nX = y \r\n";     // the file as it was read
    const char kKept[] = "SND_ENABLE=1\r\nX = y \r\n";  // kOld as lines, re-ended
    const char kGood[] = "good backup\r\n";             // Environment.cf0 before the save
    const struct {
        Before read;
        const char* unwritable;
        std::string boxes;   // joined by "|"
        const char* backup;  // Environment.cf0 afterwards
    } cases[] = {
        {kRead, "", saved, kKept},
        {kEmpty, "", saved.substr(saved.find('|') + 1), kGood},
        {kGone, "", kMissing + ("|" + saved.substr(saved.find('|') + 1)), kGood},
        {kNone, "",
         "[error] Nothing to save yet: no settings file has been read. Click "
         "Environment.cfg to read your settings first.|",
         kGood},
        {kLocked, "", read + "Access is denied.|" + notSaved, kGood},
        {kUnicode, "",
         read +
             "It is Unicode (UTF-16) text, not ANSI text. Save it as ANSI "
             "text in your editor, then read it again.|" +
             notSaved,
         kGood},
        {kHuge, "", read + "There is not enough memory to hold it.|" + notSaved, kGood},
        {kRead, kBackup,
         std::string(kBackingUp) + "|" + write + kBackup +
             ":\r\nAccess is denied.\r\nNothing was saved; your files are as "
             "they were.|",
         kGood},
        {kRead, kFile,
         std::string(kBackingUp) + "|" + kGenerated + "|" + write + kFile +
             ":\r\nAccess is denied.\r\nThe file was left as it was.|",
         kKept},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases));
        NoMemory huge;
        FakeFileSystem plain;
        FakeFileSystem& disk = c.read == kHuge ? huge : plain;
        const std::string old = c.read == kEmpty     ? ""
                                : c.read == kUnicode ? std::string("\xFF\xFES\0N\0D\0", 8)
                                                     : kOld;
        disk.files = {{kFile, old}, {kBackup, kGood}};
        disk.unwritable = {c.unwritable};
        disk.unreadable = {c.read == kLocked ? kFile : ""};
        Start(kFolder);
        for (int press = c.read == kNone ? 0 : c.read == kGone ? 2 : 1; press > 0; --press) {
            ReadSettings(state, view, disk);
            if (press == 2) {  // the press before found the file, the last one did not
                disk.files.erase(kFile);
                view.boxes.clear();
            }
        }
        WriteSettings(state, view, disk);
        EXPECT_EQ(c.boxes, Joined(view.boxes));
        EXPECT_EQ(c.backup, disk.files[kBackup]);
        const std::string& file = disk.files[kFile];
        if (c.boxes.find(kWritten) != std::string::npos) {
            EXPECT_EQ(200, std::count(file.begin(), file.end(), '\n')) << "lines written";
        } else {
            EXPECT_TRUE(old == file) << "expected the file as it was, got another";
        }
    }
}

}  // namespace
}  // namespace velkin::test
