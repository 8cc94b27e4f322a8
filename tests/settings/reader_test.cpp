// ReadSettings: the folder question, the line table and the controls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes.h"

namespace velkin::test {
namespace {

const char kPrompt[] =
    "Enter the full path to you Environment.cfg file. Usually in "
    "C:\\Users\\%USERNAME%\\Documents\\Corvane on Vista\\Win7 C:\\Documents and "
    "Settings\\%USERNAME%\\My Documents\\Corvane on Windows XP. Do not enter trailing \\!";
const char kFolder[] = "C:\\Users\\ann\\Documents\\Corvane";
const char kFile[] = "C:\\Users\\ann\\Documents\\Corvane\\Environment.cfg";

using Lines = std::vector<std::string>;

struct Reader : ::testing::Test {
    SettingsState state;
    FakeView view;
    FakeFileSystem files;

    void Press() { ReadSettings(state, view, files); }
};

TEST_F(Reader, AsksForAMissingFolderAndReadsItInTheSamePress) {
    view.answers.push_back(kFolder);
    files.files[kFile] = "SND_ENABLE=1\r\nVID_DWIDTH=1600\r\n";
    Press();
    EXPECT_EQ(Lines{kPrompt}, view.prompts);
    EXPECT_EQ(kFolder, state.SettingsPath);
    EXPECT_EQ(kFile, state.SettingsFile);
    EXPECT_TRUE(view.checks[1]);
    EXPECT_EQ("1600", view.texts[1]);
    EXPECT_TRUE(state.FileRead);
    EXPECT_TRUE(view.messages.empty());

    Press();
    EXPECT_EQ(1u, view.prompts.size()) << "a known folder is not asked for again";
}

TEST_F(Reader, TheNumberOneLeftByStartUpCountsAsNoFolder) {
    state.SettingsPath = "1";
    view.answers.push_back(kFolder);
    files.files[kFile] = "SKIPINTRO=1\r\n";
    Press();
    EXPECT_EQ(1u, view.prompts.size());
    EXPECT_EQ(kFile, state.SettingsFile);
    EXPECT_TRUE(view.checks[4]);
}

TEST_F(Reader, CancelOrAShortAnswerReadsNothingAndAsksAgainNextTime) {
    for (const char* answer : {"", "C"}) {
        SCOPED_TRACE(std::string("answer \"") + answer + "\"");
        SettingsState before;
        before.SettingsPath = "1";
        state = before;
        view.prompts.clear();
        files.existsAsked.clear();
        view.answers = {answer};
        files.files["\\Environment.cfg"] = "SND_ENABLE=1\r\n";
        files.files["C\\Environment.cfg"] = "SND_ENABLE=1\r\n";
        Press();
        EXPECT_EQ("1", state.SettingsPath);
        EXPECT_EQ("", state.SettingsFile);
        EXPECT_EQ(0u, state.LineCount);
        EXPECT_FALSE(state.FileRead);
        EXPECT_TRUE(files.existsAsked.empty()) << "no file may be looked for";
        EXPECT_FALSE(view.checks[1]);
        EXPECT_TRUE(view.messages.empty());

        view.answers = {kFolder};
        Press();
        EXPECT_EQ(2u, view.prompts.size()) << "the next press asks again";
        EXPECT_EQ(kFile, state.SettingsFile);
    }
}

TEST_F(Reader, AKnownFolderIsUsedAsItStands) {
    const struct {
        const char* folder;
        const char* file;
    } cases[] = {
        {"D:", "D:\\Environment.cfg"},
        {"C:\\Games\\", "C:\\Games\\\\Environment.cfg"},
        {kFolder, kFile},
    };
    for (const auto& c : cases) {
        state.SettingsPath = c.folder;
        Press();
        EXPECT_EQ(c.file, state.SettingsFile);
        EXPECT_EQ(c.folder, state.SettingsPath);
    }
    EXPECT_TRUE(view.prompts.empty());
}

TEST_F(Reader, AMissingFileEmptiesTheTableAndKeepsTheControls) {
    state.SettingsPath = kFolder;
    files.files[kFile] = "SND_ENABLE=1\r\nVID_DWIDTH=800\r\nX=1\r\n";
    Press();
    ASSERT_EQ(3u, state.LineCount);
    view.texts[2] = "typed";

    files.files.erase(kFile);
    Press();
    EXPECT_TRUE(state.Lines.empty());
    EXPECT_EQ(0u, state.LineCount);
    EXPECT_FALSE(state.FileRead);
    EXPECT_TRUE(view.checks[1]);
    EXPECT_EQ("800", view.texts[1]);
    EXPECT_EQ("typed", view.texts[2]);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_TRUE(view.prompts.empty());
}

TEST_F(Reader, AFileThatCannotBeReadIsReportedAndLeavesNothingBehind) {
    state.SettingsPath = kFolder;
    files.files[kFile] = "SND_ENABLE=1\r\n";
    Press();
    files.unreadable.insert(kFile);
    view.checks[1] = false;
    Press();
    ASSERT_EQ(1u, view.messages.size());
    EXPECT_EQ(std::string("Could not read ") + kFile + ":\r\nAccess is denied.",
              view.messages[0].text);
    EXPECT_EQ(Icon::Error, view.messages[0].icon);
    EXPECT_TRUE(state.Lines.empty());
    EXPECT_EQ(0u, state.LineCount);
    EXPECT_FALSE(state.FileRead);
    EXPECT_FALSE(view.checks[1]) << "controls are left as they were";
}

TEST_F(Reader, KeepsEveryLineWhateverItsEndAndCount) {
    struct Case {
        const char* name;
        std::string bytes;
        Lines lines;
    };
    std::string many;
    Lines manyLines;
    for (int i = 1; i <= 1000; ++i) {
        manyLines.push_back("# line " + std::to_string(i));
    }
    manyLines.back() = "VID_DHEIGHT=1000";
    for (const std::string& l : manyLines) {
        many += l + "\r\n";
    }
    const Case cases[] = {
        {"empty file", "", {}},
        {"no end on the last line", "A=1\r\nSKIPINTRO=1", {"A=1", "SKIPINTRO=1"}},
        {"lone LF", "A=1\nSKIPINTRO=1\n", {"A=1", "SKIPINTRO=1"}},
        {"lone CR", "A=1\rSKIPINTRO=1\r", {"A=1", "SKIPINTRO=1"}},
        {"empty lines inside", "\r\nSKIPINTRO=1\r\n\r\n", {"", "SKIPINTRO=1", ""}},
        {"1000 lines", many, manyLines},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsState fresh;
        fresh.SettingsPath = kFolder;
        state = fresh;
        FakeView clean;
        view = clean;
        files.files[kFile] = c.bytes;
        Press();
        EXPECT_EQ(c.lines, state.Lines);
        EXPECT_EQ(c.lines.size(), state.LineCount);
        EXPECT_TRUE(state.FileRead);
    }
    EXPECT_EQ("1000", view.texts[2]) << "line 1000 is applied";
}

TEST_F(Reader, TheLastLineOfAKeyWinsAndOtherControlsStay) {
    state.SettingsPath = kFolder;
    view.checks[9] = true;
    view.texts[5] = "16";
    view.texts[3] = "old";
    files.files[kFile] =
        "SND_ENABLE=1\r\nVID_DWIDTH=640\r\nSND_ENABLE=0\r\nVID_DWIDTH=800\r\n"
        "MAXTEXTUREQUALITY=1024\r\nMAXTEXTUREQUALITY=\r\n";
    Press();
    EXPECT_FALSE(view.checks[1]);
    EXPECT_EQ("800", view.texts[1]);
    EXPECT_EQ("", view.texts[3]);
    EXPECT_TRUE(view.checks[9]) << "a key not in the file keeps its box";
    EXPECT_EQ("16", view.texts[5]);

    Press();
    EXPECT_FALSE(view.checks[1]) << "a second press gives the same result";
    EXPECT_EQ("800", view.texts[1]);
}

TEST_F(Reader, UnmanagedLinesChangeNoControlButAreKept) {
    state.SettingsPath = kFolder;
    view.texts[1] = "1024";
    files.files[kFile] = "# comment\r\nsnd_enable=1\r\nLANGUAGE=Eng\r\n";
    Press();
    EXPECT_EQ((Lines{"# comment", "snd_enable=1", "LANGUAGE=Eng"}), state.Lines);
    EXPECT_FALSE(view.checks[1]);
    EXPECT_EQ("1024", view.texts[1]);
}

}  // namespace
}  // namespace velkin::test
