// The settings core over fakes: line recognition, the text of files and answers, the press of
// Command1 and the save, values in the file's code page against golden files made by
// tests/golden/make-golden.sh. How a press asks for the folder, what the controls show and the
// game's own file saved are seen end to end.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/fakes.h"

namespace velkin::test {
namespace {

std::string Golden(const char* name) {
    std::ifstream in(std::string(VELKIN_GOLDEN_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << "expected the golden file " << name << ", got none";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Which key sets which control is seen end to end; here, what else a line must be to count.
TEST(ApplyLine, OnlyAWholeLiteralAtTheStartCounts) {
    std::vector<std::pair<std::string, std::string>> cases = {
        {"SND_ENABLE=10", "Check1=1"},
        {"SND_ENABLE=0x", "Check1=0"},
        {"VID_DWIDTH= 1920 ", "Text1= 1920 "},
        {"VID_DWIDTH=", "Text1="},
        {std::string("VID_DHEIGHT=\xe9\0x", 15), std::string("Text2=\xc3\xa9\0x", 10)}};
    // Look-alikes that change nothing.
    for (const char* line : {"snd_enable=1", " SND_ENABLE=1", "SND_ENABLE =1", "SND_ENABLE=2",
                             "SND_ENABLE=", "SND_ENABLE_DEBUGPAGES=1", "VID_FULLSCREEN_WINDOWED=1",
                             "#XR_FOG=1", "XR_LODBIAS=1", "VID_GAMMARAM=1", ""}) {
        cases.push_back({line, ""});
    }
    for (const auto& [line, change] : cases) {
        FakeView view;
        FakeFileSystem files;
        ApplyLine(line, view, files);
        EXPECT_EQ(change.empty() ? Lines{} : Lines{change}, view.changes)
            << "line \"" << line << "\"";
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
        {"x\xEF\xBB\xBF", {"x\xEF\xBB\xBF"}},
        {"\xEF\xBB\xBFVID_DWIDTH=1\r\n", {"VID_DWIDTH=1"}},
        {std::string("a\0b\r\n\xff\xfe", 7), {std::string("a\0b", 3), "\xff\xfe"}},
    };
    for (const auto& [bytes, expected] : texts) {
        Lines lines;
        const Result split = SplitSettingsText(bytes, lines);
        EXPECT_TRUE(split.ok) << "bytes " << ::testing::PrintToString(bytes)
                              << ": expected lines, got \"" << split.reason << "\"";
        EXPECT_EQ(expected, lines) << "bytes " << ::testing::PrintToString(bytes);
    }
    EXPECT_EQ("a\r\n\r\nb \r\n", JoinLines({"a", "", "b "}));
    for (const char* unicode : {"\xFF\xFEV\0", "\xFE\xFF\0V"}) {
        Lines lines;
        EXPECT_FALSE(SplitSettingsText(std::string(unicode, 4), lines).ok)
            << "a UTF-16 mark: expected a failure, got success";
    }
    const std::pair<const char*, const char*> answers[] = {
        {"  \"C:\\My Games\\Corvane\"\t ", "C:\\My Games\\Corvane"},
        {" \"\" ", ""},
        {"C:\\Corvane\\Environment.cfg.bak", "C:\\Corvane\\Environment.cfg.bak"},
        {"C:\\Corvane\\MyEnvironment.cfg", "C:\\Corvane\\MyEnvironment.cfg"},
        {"C:\\Corvane\\", "C:\\Corvane\\"},
    };
    for (const auto& [answer, folder] : answers) {
        EXPECT_EQ(folder, FolderFromAnswer(answer)) << "answer \"" << answer << "\"";
    }
}

const char kFolder[] = "C:\\Users\\ann\\Documents\\Corvane";
const char kFile[] = "C:\\Users\\ann\\Documents\\Corvane\\Environment.cfg";
const char kMissing[] =
    "[warning] There is no Environment.cfg in C:\\Users\\ann\\Documents\\Corvane.\r\nSave "
    "settings would create one there.";
const char kBackingUp[] = "[warning] Creating Backup of Current Settings to Environment.cf0";
const char kGenerated[] = "Config file generated! Press OK to write Environment.cfg!";
const char kWritten[] = "Environment.cfg written successfully!";

struct Settings {
    SettingsState state;
    FakeView view;
    FakeFileSystem disk;
    Settings() { state.SettingsPath = kFolder; }
    void Read() { ReadSettings(state, view, disk); }
    void Save() { WriteSettings(state, view, disk); }
};

std::string Cf(int n) {
    return std::string(kFolder) + "\\Environment.cf" + std::to_string(n);
}

// Values in the file's code page (the fake's Latin-1): shown as text, written back as the same
// bytes. A typed character that the code page lacks is seen refused end to end.
TEST(CodePage, AValueIsShownAsTextAndWrittenBackAsItsBytes) {
    Settings t;
    t.disk.files[kFile] = Golden("code-page-input.cfg");
    t.Read();
    EXPECT_EQ("1.15\xC2\xB0", t.view.texts[6]) << "Text6: expected the degree sign as UTF-8";
    t.Save();
    EXPECT_EQ(Golden("code-page-input.cfg"), t.disk.files[Cf(0)]) << "the backup";
    EXPECT_EQ(Golden("code-page-output.cfg"), t.disk.files[kFile]) << "the new file";
}

const char kGame[] = "VID_DWIDTH=game\r\nOTHER=1\r\n";  // the game's own Environment.cfg
const char kByTheGame[] = "VID_DWIDTH=the game's\r\n";  // what the game writes meanwhile
const char kLeftover[] = "C:\\Users\\ann\\Documents\\Corvane\\vlkd669.tmp";
const char kUntouched[] = "cfg=game vlkd669.tmp=cut short";
const std::string kUnicode("\xFF\xFES\0N\0", 6);
const char kBackupWrong[] =
    "[error] Could not rename C:\\Users\\ann\\Documents\\Corvane\\Environment.cf2 to "
    "Environment.cf3:\r\nAccess is denied.\r\nNothing was saved";
const char kReadOnly[] =
    "ask [warning] Environment.cfg is read-only, perhaps so that the game cannot change it. Write "
    "it anyway and keep it read-only?";

std::string ReadError(const std::string& reason) {
    return std::string("[error] Could not read ") + kFile + ":\r\n" + reason;
}
const std::string kNotSaved = std::string("[error] Nothing was saved: ") + kFile +
                              " could not be read, so saving would replace it with settings you "
                              "have not seen.\r\nClick Environment.cfg to read it again first.";
std::string Changed(const char* how) {
    return std::string("[error] Nothing was saved: ") + kFile + how +
           " Saving now would lose what it holds.\r\nClick Environment.cfg to read it first.";
}

// The folder, file by file: "cfg=2" is Environment.cfg as saved with Text1 "2"; a file without
// that key shows its bytes.
std::string Listing(const FakeFileSystem& disk) {
    std::string listing;
    for (const auto& [path, bytes] : disk.files) {
        std::string name = path.substr(path.rfind('\\') + 1);
        if (name.rfind("Environment.", 0) == 0) {
            name.erase(0, 12);
        }
        const std::size_t key = bytes.find("VID_DWIDTH=");
        const std::size_t from = key + 11;
        listing +=
            (listing.empty() ? "" : " ") + name + "=" +
            (key == std::string::npos ? bytes : bytes.substr(from, bytes.find('\r', from) - from)) +
            (disk.readOnly.count(path) != 0 ? " (read-only)" : "");
    }
    return listing;
}

// A press, Text1 set to `width`, and a save; the boxes are the save's.
void Cycle(Settings& t, const char* width) {
    t.Read();
    t.view.texts[1] = width;
    t.view.boxes.clear();
    t.Save();
}

void Cycles(Settings& t, int count) {
    for (int n = 1; n <= count; ++n) {
        Cycle(t, std::to_string(n).c_str());
    }
}

// A save writes only over the file as it was read, after a backup of what was read; the older
// backups move one place on with each save of a changed file. Otherwise nothing changes, and
// every box says what is on disk.
TEST(Settings, ASaveWritesOnlyOverTheFileAsReadAndBackupsMoveOn) {
    const Lines saved = {kBackingUp, kGenerated, kWritten};
    const struct {
        const char* what;
        void (*steps)(Settings&);
        Lines boxes;  // from the last press on, or of the last cycle
        std::string listing;
    } scenarios[] = {
        {"first save", [](auto& t) { Cycle(t, "1"); }, saved, "cf0=game cfg=1"},
        {"a second save with different content", [](auto& t) { Cycles(t, 2); }, saved,
         "cf0=1 cf1=game cfg=2"},
        {"saved again without a press, the file as read is backed up",
         [](auto& t) { Cycle(t, "1"), t.disk.files[Cf(0)] = "good", t.Save(); },
         {kBackingUp, kGenerated, kWritten, kBackingUp, kGenerated, kWritten},
         "cf0=game cf1=good cfg=1"},
        {"an identical backup rotates nothing",
         [](auto& t) { Cycle(t, "1"), Cycle(t, "1"), Cycle(t, "1"); }, saved,
         "cf0=1 cf1=game cfg=1"},
        {"six changed cycles keep five backups", [](auto& t) { Cycles(t, 6); }, saved,
         "cf0=5 cf1=4 cf2=3 cf3=2 cf4=1 cfg=6"},
        {"an empty file read leaves the old backup",
         [](auto& t) {
             t.disk.files = {{kFile, ""}, {Cf(0), "good"}}, Cycle(t, "1");
         },
         {kGenerated, kWritten},
         "cf0=good cfg=1"},
        {"a file gone by the last press is made anew, with no backup",
         [](auto& t) { t.Read(), t.disk.files.erase(kFile), Cycle(t, "1"); },
         {kGenerated, kWritten},
         "cfg=1"},
        {"nothing is saved before a press",
         [](auto& t) { t.Save(); },
         {"[error] Nothing to save yet: no settings file has been read. Click Environment.cfg "
          "to read your settings first."},
         kUntouched},
        {"a locked file is not saved over",
         [](auto& t) { t.disk.unreadable = {kFile}, t.Read(), t.Save(); },
         {ReadError("Access is denied."), kNotSaved},
         kUntouched},
        {"a UTF-16 file is not saved over",
         [](auto& t) { t.disk.files[kFile] = kUnicode, t.Read(), t.Save(); },
         {ReadError("It is Unicode (UTF-16) text, not ANSI text. Save it as ANSI text in your "
                    "editor, then read it again."),
          kNotSaved},
         "cfg=" + kUnicode + " vlkd669.tmp=cut short"},
        {"a file too large to hold is not saved over",
         [](auto& t) { t.disk.huge = true, t.Read(), t.Save(); },
         {ReadError("There is not enough memory to hold it."), kNotSaved},
         kUntouched},
        {"a file changed on disk since the read is not saved over",
         [](auto& t) { t.Read(), t.disk.files[kFile] = kByTheGame, t.Save(); },
         {Changed(" has changed since Velkin read it, perhaps by the game.")},
         "cfg=the game's vlkd669.tmp=cut short"},
        {"a file that appeared after a press found none is not saved over",
         [](auto& t) {
             t.disk.files.erase(kFile), t.Read(), t.disk.files[kFile] = kGame, t.Save();
         },
         {kMissing,
          Changed(" has appeared since Velkin looked for it, perhaps written by the game.")},
         kUntouched},
        {"a failed rename leaves every file as it was",
         [](auto& t) {
             Cycles(t, 5), t.disk.stuck = {{Cf(2), Cf(3)}}, Cycle(t, "6");
         },
         {kBackingUp, kBackupWrong + std::string("; your files are as they were.")},
         "cf0=4 cf1=3 cf2=2 cf3=1 cf4=game cfg=5"},
        {"a rename that cannot be undone is named",
         [](auto& t) {
             Cycles(t, 5), t.disk.stuck = {{Cf(2), Cf(3)}, {Cf(4), Cf(3)}}, Cycle(t, "6");
         },
         {kBackingUp, kBackupWrong + std::string(", but not every backup could be put back: "
                                                 "Environment.cf3 is now Environment.cf4; "
                                                 "Environment.cf4 is now vlk1.tmp.")},
         "cf0=4 cf1=3 cf2=2 cf4=1 cfg=5 vlk1.tmp=game"},
        {"a failed backup puts the older ones back",
         [](auto& t) { Cycle(t, "1"), t.disk.unwritable = {Cf(0)}, Cycle(t, "2"); },
         {kBackingUp, "[error] Could not write " + Cf(0) +
                          ":\r\nAccess is denied.\r\nNothing was saved; your files are as they "
                          "were."},
         "cf0=game cfg=1"},
        {"read-only, answered Yes",
         [](auto& t) { t.disk.readOnly = {kFile}, Cycle(t, "1"); },
         {kReadOnly, kBackingUp, kGenerated, kWritten},
         "cf0=game cfg=1 (read-only)"},
        {"read-only, answered No",
         [](auto& t) { t.disk.readOnly = {kFile}, t.view.yes = false, Cycle(t, "1"); },
         {kReadOnly},
         "cfg=game (read-only) vlkd669.tmp=cut short"},
        {"the late change",
         [](auto& t) {
             Cycle(t, "1");
             t.view.during = [&t](const std::string& box) {
                 if (box == kGenerated) {
                     t.disk.files[kFile] = kByTheGame;
                 }
             };
             Cycle(t, "2");
         },
         {kBackingUp, kGenerated,
          std::string("[error] Environment.cfg was not saved: ") + kFile +
              " has changed since Velkin read it, perhaps by the game. Saving now would lose what "
              "it holds.\r\nEnvironment.cfg was left as it was; Environment.cf0 now holds the "
              "settings as Velkin read them, and the older backup is Environment.cf1.\r\nClick "
              "Environment.cfg to read it first."},
         "cf0=1 cf1=game cfg=the game's"},
    };
    for (const auto& s : scenarios) {
        Settings t;
        t.disk.files = {{kFile, kGame}, {kLeftover, "cut short"}};
        s.steps(t);
        EXPECT_EQ(s.boxes, t.view.boxes) << s.what;
        EXPECT_EQ(s.listing, Listing(t.disk)) << s.what;
    }
}

}  // namespace
}  // namespace velkin::test
