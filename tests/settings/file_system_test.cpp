// The machine's own file system, in a throwaway folder: the golden files, replacing files, and
// failures that must leave the old file whole. Runs natively and under Wine.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "fakes.h"

namespace fs = std::filesystem;

namespace velkin::test {
namespace {

using Lines = std::vector<std::string>;
using Names = std::set<std::string>;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "expected to open " << path.string();
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Spill(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    ASSERT_TRUE(out.good()) << "expected to write " << path.string();
}

std::string Golden(const char* name) {
    return Slurp(fs::path(VELKIN_GOLDEN_DIR) / name);
}

struct RealFiles : ::testing::Test {
    fs::path dir;
    std::unique_ptr<FileSystem> files = MakeNativeFileSystem();

    void SetUp() override {
        std::random_device random;
        dir = fs::temp_directory_path() / ("velkin-test-" + std::to_string(random()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(dir, ignored)) {
            fs::permissions(entry.path(), fs::perms::owner_all, ignored);
        }
        fs::remove_all(dir, ignored);
    }
    std::string Path(const char* name) const { return (dir / name).string(); }
    Names Listing() const {
        Names names;
        for (const auto& entry : fs::directory_iterator(dir)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
    void MakeReadOnly(const char* name) {
        fs::permissions(dir / name,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
};

TEST_F(RealFiles, ReadingAndSavingTheSampleGivesTheGoldenFiles) {
    const std::string input = Golden("sample-input.cfg");
    Spill(dir / "Environment.cfg", input);
    SettingsState state;
    state.SettingsPath = dir.string();
    FakeView view;
    view.marker = "Set.";
    ReadSettings(state, view, *files);
    ASSERT_TRUE(state.FileRead);
    EXPECT_EQ("1920", view.texts[1]);
    EXPECT_EQ("0.9 1.0 1.1", view.texts[7]);
    EXPECT_TRUE(view.checks[6]);

    WriteSettings(state, view, *files);
    EXPECT_EQ(3u, view.messages.size());
    EXPECT_EQ(input, Slurp(dir / "Environment.cf0"));
    EXPECT_EQ(Golden("sample-output.cfg"), Slurp(dir / "Environment.cfg"));
    EXPECT_EQ((Names{"Environment.cf0", "Environment.cfg"}), Listing());
}

TEST_F(RealFiles, SavingEmptyBoxesGivesTheEmptyGoldenFile) {
    SettingsState state;
    state.SettingsPath = dir.string();
    FakeView view;
    ReadSettings(state, view, *files);
    ASSERT_FALSE(state.FileRead);
    WriteSettings(state, view, *files);
    EXPECT_EQ(Golden("empty-output.cfg"), Slurp(dir / "Environment.cfg"));
    EXPECT_EQ(Names{"Environment.cfg"}, Listing());
}

TEST_F(RealFiles, LinesComeBackByteForByte) {
    const Lines lines = {std::string("a\0b", 3), "\xe9\xff\x80", "", " x = y "};
    ASSERT_TRUE(files->WriteLines(Path("t.cfg"), lines).ok);
    EXPECT_EQ(std::string("a\0b\r\n\xe9\xff\x80\r\n\r\n x = y \r\n", 21), Slurp(dir / "t.cfg"));
    Lines back;
    ASSERT_TRUE(files->ReadLines(Path("t.cfg"), back).ok);
    EXPECT_EQ(lines, back);
}

TEST_F(RealFiles, LargeFilesAreKeptWhole) {
    const Lines many(1000 * 1000, "R_PICMIP0=0");
    ASSERT_TRUE(files->WriteLines(Path("many.cfg"), many).ok);
    Lines back;
    ASSERT_TRUE(files->ReadLines(Path("many.cfg"), back).ok);
    EXPECT_EQ(many.size(), back.size());
    EXPECT_EQ(many, back);

    const Lines one = {std::string(10 * 1000 * 1000, 'v')};
    ASSERT_TRUE(files->WriteLines(Path("one.cfg"), one).ok);
    ASSERT_TRUE(files->ReadLines(Path("one.cfg"), back).ok);
    EXPECT_EQ(one, back);
}

TEST_F(RealFiles, ExistenceMeansAFile) {
    Spill(dir / "Environment.cfg", "");
    fs::create_directory(dir / "folder");
    EXPECT_TRUE(files->FileExists(Path("Environment.cfg")));
    EXPECT_FALSE(files->FileExists(Path("folder")));
    EXPECT_FALSE(files->FileExists(Path("missing.cfg")));
}

TEST_F(RealFiles, AMissingFileCannotBeRead) {
    Lines lines = {"stale"};
    const FileResult read = files->ReadLines(Path("missing.cfg"), lines);
    EXPECT_FALSE(read.ok);
    EXPECT_FALSE(read.reason.empty());
}

TEST_F(RealFiles, ReplacingAFileLeavesOnlyTheNewContent) {
    Spill(dir / "Environment.cfg", "old, and longer than what comes\r\n");
    ASSERT_TRUE(files->WriteLines(Path("Environment.cfg"), {"new"}).ok);
    EXPECT_EQ("new\r\n", Slurp(dir / "Environment.cfg"));
    EXPECT_EQ(Names{"Environment.cfg"}, Listing());
}

TEST_F(RealFiles, AReadOnlyFileIsNotReplaced) {
    Spill(dir / "Environment.cfg", "old\r\n");
    MakeReadOnly("Environment.cfg");
    const FileResult result = files->WriteLines(Path("Environment.cfg"), {"new"});
    EXPECT_FALSE(result.ok) << "expected a failure, got success";
    EXPECT_FALSE(result.reason.empty());
    EXPECT_EQ("old\r\n", Slurp(dir / "Environment.cfg"));
    EXPECT_EQ(Names{"Environment.cfg"}, Listing());
}

TEST_F(RealFiles, AMissingFolderGetsNothing) {
    const FileResult result = files->WriteLines(Path("missing") + "\\Environment.cfg", {"new"});
    EXPECT_FALSE(result.ok) << "expected a failure, got success";
    EXPECT_FALSE(result.reason.empty());
    EXPECT_TRUE(Listing().empty());
}

TEST_F(RealFiles, AReadOnlySettingsFileIsReportedAndKept) {
    const std::string input = "SND_ENABLE=1\r\n# mine\r\n";
    Spill(dir / "Environment.cfg", input);
    MakeReadOnly("Environment.cfg");
    SettingsState state;
    state.SettingsPath = dir.string();
    FakeView view;
    view.marker = "Set.";
    ReadSettings(state, view, *files);
    WriteSettings(state, view, *files);
    ASSERT_EQ(3u, view.messages.size());
    const std::string expected = "Could not write " + state.SettingsFile + ":\r\n";
    EXPECT_EQ(expected, view.messages[2].text.substr(0, expected.size()));
    EXPECT_EQ(Icon::Error, view.messages[2].icon);
    EXPECT_EQ(input, Slurp(dir / "Environment.cfg"));
    EXPECT_EQ(input, Slurp(dir / "Environment.cf0")) << "the backup was made before";
    EXPECT_EQ((Names{"Environment.cf0", "Environment.cfg"}), Listing());
}

TEST_F(RealFiles, AReadOnlyBackupStopsTheSave) {
    const std::string input = "SND_ENABLE=1\r\n";
    Spill(dir / "Environment.cfg", input);
    Spill(dir / "Environment.cf0", "old backup\r\n");
    MakeReadOnly("Environment.cf0");
    SettingsState state;
    state.SettingsPath = dir.string();
    FakeView view;
    view.marker = "Set.";
    ReadSettings(state, view, *files);
    view.checks[1] = false;
    WriteSettings(state, view, *files);
    ASSERT_EQ(2u, view.messages.size());
    EXPECT_EQ(Icon::Error, view.messages[1].icon);
    EXPECT_EQ("old backup\r\n", Slurp(dir / "Environment.cf0"));
    EXPECT_EQ(input, Slurp(dir / "Environment.cfg"));
    EXPECT_EQ((Names{"Environment.cf0", "Environment.cfg"}), Listing());
}

#ifdef _WIN32
struct HandleOwner {
    HANDLE h;
    ~HandleOwner() { CloseHandle(h); }
};

TEST_F(RealFiles, ALockedFileIsNotReplaced) {
    Spill(dir / "Environment.cfg", "old\r\n");
    HandleOwner lock{CreateFileA(Path("Environment.cfg").c_str(), GENERIC_READ, 0, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    ASSERT_NE(INVALID_HANDLE_VALUE, lock.h);
    const FileResult result = files->WriteLines(Path("Environment.cfg"), {"new"});
    EXPECT_FALSE(result.ok) << "expected a failure, got success";
    EXPECT_FALSE(result.reason.empty());
    CloseHandle(lock.h);
    lock.h = INVALID_HANDLE_VALUE;
    EXPECT_EQ("old\r\n", Slurp(dir / "Environment.cfg"));
    EXPECT_EQ(Names{"Environment.cfg"}, Listing());
}
#endif

}  // namespace
}  // namespace velkin::test
