// Values in the settings file's code page (the fake's Latin-1): shown as text, written back as the
// same bytes, and a typed character the code page lacks refused before anything is written.
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

const char kFile[] = "C:\\Corvane\\Environment.cfg";
const char kBackup[] = "C:\\Corvane\\Environment.cf0";

struct CodePage : ::testing::Test {
    SettingsState state;
    FakeView view;
    FakeFileSystem disk;
    void SetUp() override {
        state.SettingsPath = "C:\\Corvane";
        disk.files = {{kFile, Golden("code-page-input.cfg")}, {kBackup, "good backup\r\n"}};
        ReadSettings(state, view, disk);
    }
};

TEST_F(CodePage, AValueIsShownAsTextAndWrittenBackAsItsBytes) {
    EXPECT_EQ("1.15\xC2\xB0", view.texts[6]) << "Text6: expected the degree sign as UTF-8";
    WriteSettings(state, view, disk);
    EXPECT_EQ(Golden("code-page-input.cfg"), disk.files[kBackup]) << "the backup";
    EXPECT_EQ(Golden("code-page-output.cfg"), disk.files[kFile]) << "the new file";
}

TEST_F(CodePage, ATypedValueTheCodePageLacksIsRefusedByNameAndNothingIsWritten) {
    view.texts[9] = "-0.25\xE6\x9D\x8E";  // a Chinese character
    WriteSettings(state, view, disk);
    EXPECT_EQ(Lines{"[error] Nothing was saved: Environment.cfg cannot store the characters "
                    "typed for Row 9. Use only characters of your system's code page, then save "
                    "again."},
              view.boxes);
    EXPECT_EQ(Golden("code-page-input.cfg"), disk.files[kFile]) << "Environment.cfg";
    EXPECT_EQ("good backup\r\n", disk.files[kBackup]) << "Environment.cf0";
}

}  // namespace
}  // namespace velkin::test
