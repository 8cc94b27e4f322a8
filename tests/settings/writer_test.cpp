// WriteSettings and the template: the backup rules, the messages and the written lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes.h"

namespace velkin::test {
namespace {

const char kFolder[] = "C:\\Users\\ann\\Documents\\Corvane";
const char kFile[] = "C:\\Users\\ann\\Documents\\Corvane\\Environment.cfg";
const char kBackup[] = "C:\\Users\\ann\\Documents\\Corvane\\Environment.cf0";

const char kMsgBackup[] = "Creating Backup of Current Settings to Environment.cf0";
const char kMsgGenerated[] = "Config file generated! Press OK to write Environment.cfg!";
const char kMsgWritten[] = "Environment.cfg written successfully!";
const char kMsgNothing[] =
    "Nothing to save yet: no settings file has been read. Click Environment.cfg to read your "
    "settings first.";

using Lines = std::vector<std::string>;

struct Writer : ::testing::Test {
    SettingsState state;
    FakeView view;
    FakeFileSystem files;

    void SetUp() override { state.SettingsPath = kFolder; }
    void Read() { ReadSettings(state, view, files); }
    void Save() { WriteSettings(state, view, files); }
    Lines Written(const std::string& name) { return SplitLines(files.files[name]); }
};

TEST_F(Writer, BeforeAnyReadNothingIsWritten) {
    view.marker = "Set.";
    files.files[kBackup] = "old backup\r\n";
    Save();
    ASSERT_EQ(1u, view.messages.size());
    EXPECT_EQ(kMsgNothing, view.messages[0].text);
    EXPECT_EQ(Icon::Error, view.messages[0].icon);
    EXPECT_TRUE(files.written.empty());
    EXPECT_EQ("old backup\r\n", files.files[kBackup]);
}

TEST_F(Writer, WithTheMarkerSetTheFileAsReadIsBackedUpFirst) {
    files.files[kFile] = "SND_ENABLE=1\nX = y \r\n\r\n";
    Read();
    view.marker = "Set.";
    Save();
    EXPECT_EQ((Lines{kBackup, kFile}), files.written);
    EXPECT_EQ("SND_ENABLE=1\r\nX = y \r\n\r\n", files.files[kBackup]);
    EXPECT_EQ(200u, Written(kFile).size());
    ASSERT_EQ(3u, view.messages.size());
    EXPECT_EQ(kMsgBackup, view.messages[0].text);
    EXPECT_EQ(Icon::Warning, view.messages[0].icon);
    EXPECT_EQ(kMsgGenerated, view.messages[1].text);
    EXPECT_EQ(Icon::None, view.messages[1].icon);
    EXPECT_EQ(kMsgWritten, view.messages[2].text);
    EXPECT_EQ(Icon::None, view.messages[2].icon);
}

TEST_F(Writer, AnyOtherMarkerMeansNoBackup) {
    files.files[kFile] = "SND_ENABLE=1\r\n";
    Read();
    for (const char* marker : {"NOT Set.", "set.", "Set", "Set. ", "SET.", ""}) {
        SCOPED_TRACE(std::string("marker \"") + marker + "\"");
        view.marker = marker;
        view.messages.clear();
        files.written.clear();
        Save();
        EXPECT_EQ(Lines{kFile}, files.written);
        EXPECT_EQ((Lines{kMsgGenerated, kMsgWritten}), view.MessageTexts());
    }
}

TEST_F(Writer, NoBackupWhenTheLastPressFoundNoFile) {
    files.files[kFile] = "SND_ENABLE=1\r\n";
    Read();
    files.files.erase(kFile);
    Read();
    files.files[kBackup] = "good backup\r\n";
    view.marker = "Set.";
    Save();
    EXPECT_EQ("good backup\r\n", files.files[kBackup]);
    EXPECT_EQ((Lines{kMsgGenerated, kMsgWritten}), view.MessageTexts());
    const Lines out = Written(kFile);
    ASSERT_EQ(200u, out.size()) << "the save creates the file from the template";
    EXPECT_EQ("SND_ENABLE=1", out[2]) << "from the box the earlier read checked";
}

TEST_F(Writer, NoBackupWhenAReadFailed) {
    files.files[kFile] = "SND_ENABLE=1\r\n";
    files.unreadable.insert(kFile);
    Read();
    files.files[kBackup] = "good backup\r\n";
    view.marker = "Set.";
    Save();
    EXPECT_EQ("good backup\r\n", files.files[kBackup]);
}

TEST_F(Writer, EveryBackupHoldsTheFileAsLastRead) {
    files.files[kFile] = "# mine\r\nSND_ENABLE=1\r\n";
    Read();
    view.marker = "Set.";
    Save();
    Save();
    EXPECT_EQ("# mine\r\nSND_ENABLE=1\r\n", files.files[kBackup]);
    EXPECT_EQ(2u, state.LineCount);
    EXPECT_EQ((Lines{"# mine", "SND_ENABLE=1"}), state.Lines);
}

TEST_F(Writer, AFailedBackupStopsTheSave) {
    files.files[kFile] = "SND_ENABLE=1\r\n";
    Read();
    view.marker = "Set.";
    files.unwritable.insert(kBackup);
    Save();
    EXPECT_TRUE(files.written.empty());
    EXPECT_EQ("SND_ENABLE=1\r\n", files.files[kFile]);
    ASSERT_EQ(2u, view.messages.size());
    EXPECT_EQ(kMsgBackup, view.messages[0].text);
    EXPECT_EQ(std::string("Could not write ") + kBackup +
                  ":\r\nAccess is denied.\r\nNothing was saved; your files are as they were.",
              view.messages[1].text);
    EXPECT_EQ(Icon::Error, view.messages[1].icon);
}

TEST_F(Writer, AFailedWriteOfTheSettingsFileIsReportedInsteadOfSuccess) {
    files.files[kFile] = "SND_ENABLE=1\r\n";
    Read();
    view.marker = "Set.";
    files.unwritable.insert(kFile);
    Save();
    EXPECT_EQ(Lines{kBackup}, files.written);
    EXPECT_EQ("SND_ENABLE=1\r\n", files.files[kFile]);
    ASSERT_EQ(3u, view.messages.size());
    EXPECT_EQ(kMsgGenerated, view.messages[1].text);
    EXPECT_EQ(std::string("Could not write ") + kFile +
                  ":\r\nAccess is denied.\r\nThe file was left as it was.",
              view.messages[2].text);
    EXPECT_EQ(Icon::Error, view.messages[2].icon);
}

// The template's managed lines, numbered from 1, as the file layout gives them.
const int kSwitchLines[] = {2, 3, 5, 6, 9, 17, 23, 24, 25, 37, 60, 61, 92};
const struct {
    int line;
    int text;
    const char* literal;
} kValueLines[] = {
    {19, 6, "VID_GAMMA="},        {20, 12, "VID_BRIGHTNESS="},   {21, 13, "VID_BLACKLEVEL="},
    {22, 14, "VID_PIXELASPECT="}, {26, 1, "VID_DWIDTH="},        {27, 2, "VID_DHEIGHT="},
    {29, 11, "XR_SHADERMODE="},   {31, 5, "R_ANISOTROPY="},      {33, 7, "VID_GAMMARAMP="},
    {55, 9, "XR_LODOFFSET="},     {56, 10, "XR_LODSCALE="},      {57, 8, "XR_LOD="},
    {59, 4, "R_ANTIALIAS="},      {81, 3, "MAXTEXTUREQUALITY="},
};

TEST(Template, CheckedAndUncheckedDifferOnlyInTheSwitchLines) {
    FakeView off;
    FakeView on;
    for (int n = 1; n <= kSwitchCount; ++n) {
        on.checks[n] = true;
    }
    const Lines a = FillTemplate(off);
    const Lines b = FillTemplate(on);
    ASSERT_EQ(200u, a.size());
    ASSERT_EQ(200u, b.size());
    std::vector<int> differing;
    for (int i = 0; i < 200; ++i) {
        if (a[i] != b[i]) {
            differing.push_back(i + 1);
            EXPECT_EQ("=0", a[i].substr(a[i].size() - 2)) << "line " << i + 1;
            EXPECT_EQ(a[i].substr(0, a[i].size() - 2) + "=1", b[i]) << "line " << i + 1;
        }
    }
    EXPECT_EQ(std::vector<int>(std::begin(kSwitchLines), std::end(kSwitchLines)), differing);
}

TEST(Template, EachBoxGoesToItsOwnLineVerbatim) {
    FakeView view;
    for (int n = 1; n <= kValueCount; ++n) {
        view.texts[n] = " v" + std::to_string(n) + "=x ";
    }
    view.checks[8] = true;
    const Lines out = FillTemplate(view);
    for (const auto& v : kValueLines) {
        EXPECT_EQ(v.literal + view.texts[v.text], out[v.line - 1]) << "line " << v.line;
    }
    EXPECT_EQ("VID_FULLSCREEN=0", out[23]);
    EXPECT_EQ("VID_FULLSCREEN_WINDOWED_TOGGLE_ENABLED=1", out[24]);
    for (int i = 93; i < 200; ++i) {
        EXPECT_EQ("", out[i]) << "line " << i + 1;
    }
    EXPECT_EQ(out, FillTemplate(view)) << "a second fill gives the same lines";
}

}  // namespace
}  // namespace velkin::test
