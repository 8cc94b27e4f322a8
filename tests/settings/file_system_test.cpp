// The machine's own file system, in a throwaway folder: the golden files, bytes and sizes kept,
// and failures that must leave the old file whole. Runs natively and under Wine.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>

#ifdef _WIN32
#include <windows.h>
#endif

#include "fakes.h"

namespace fs = std::filesystem;

namespace velkin::test {
namespace {

using Names = std::set<std::string>;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "expected to open " << path.string();
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Spill(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

struct RealFiles : ::testing::Test {
    fs::path dir =
        fs::temp_directory_path() / ("velkin-test-" + std::to_string(std::random_device()()));
    std::unique_ptr<FileSystem> files = MakeNativeFileSystem();
    SettingsState state;
    FakeView view;

    void SetUp() override {
        fs::create_directories(dir);
        state.SettingsPath = dir.string();
    }
    void TearDown() override {
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(dir, ignored)) {
            fs::permissions(entry.path(), fs::perms::owner_all, ignored);
        }
        fs::remove_all(dir, ignored);
    }
    std::string Path(const char* name) const { return (dir / name).string(); }
    // Also shows that no temporary file is left behind.
    Names Listing() const {
        Names names;
        for (const auto& entry : fs::directory_iterator(dir)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
    void MakeReadOnly(const char* name) { fs::permissions(dir / name, fs::perms::owner_read); }
    void ReadAndSave() {
        ReadSettings(state, view, *files);
        WriteSettings(state, view, *files);
    }
};

std::string Golden(const char* name) {
    return Slurp(fs::path(VELKIN_GOLDEN_DIR) / name);
}

TEST_F(RealFiles, ReadingAndSavingGiveTheGoldenFiles) {
    const std::string input = Golden("sample-input.cfg");
    Spill(dir / "Environment.cfg", input);
    view.marker = "Set.";
    ReadAndSave();
    EXPECT_EQ(3u, view.messages.size());
    EXPECT_EQ(input, Slurp(dir / "Environment.cf0"));
    EXPECT_EQ(Golden("sample-output.cfg"), Slurp(dir / "Environment.cfg"));
    EXPECT_EQ((Names{"Environment.cf0", "Environment.cfg"}), Listing());

    FakeView empty;
    view = empty;
    fs::remove(dir / "Environment.cfg");
    ReadAndSave();
    EXPECT_EQ(Golden("empty-output.cfg"), Slurp(dir / "Environment.cfg"));
}

TEST_F(RealFiles, BytesAndSizesComeBackWhole) {
    const Lines cases[] = {
        {std::string("a\0b", 3), "\xe9\xff\x80", "", " x = y "},
        Lines(1000 * 1000, "R_PICMIP0=0"),
        {std::string(10 * 1000 * 1000, 'v')},
    };
    for (const Lines& lines : cases) {
        ASSERT_TRUE(files->WriteLines(Path("t.cfg"), lines).ok);
        EXPECT_EQ(JoinLines(lines), Slurp(dir / "t.cfg"));
        Lines back;
        ASSERT_TRUE(files->ReadLines(Path("t.cfg"), back).ok);
        EXPECT_EQ(lines.size(), back.size());
        EXPECT_TRUE(lines == back) << "expected the " << lines.size() << " lines written back";
    }
    EXPECT_EQ(std::string("a\0b\r\n\xe9\xff\x80\r\n\r\n x = y \r\n", 21), JoinLines(cases[0]));
    EXPECT_EQ(Names{"t.cfg"}, Listing());
}

TEST_F(RealFiles, OnlyAFileExists) {
    Spill(dir / "Environment.cfg", "");
    fs::create_directory(dir / "folder");
    EXPECT_TRUE(files->FileExists(Path("Environment.cfg")));
    EXPECT_FALSE(files->FileExists(Path("folder")));
    EXPECT_FALSE(files->FileExists(Path("missing.cfg")));
}

TEST_F(RealFiles, AFailedWriteLeavesTheOldFileWhole) {
    Spill(dir / "Environment.cfg", "old\r\n");
    EXPECT_TRUE(files->WriteLines(Path("Environment.cfg"), {"new"}).ok);
    EXPECT_EQ("new\r\n", Slurp(dir / "Environment.cfg")) << "a writable file is replaced";

    MakeReadOnly("Environment.cfg");
    FileResult result = files->WriteLines(Path("Environment.cfg"), {"newer"});
    EXPECT_FALSE(result.ok) << "read-only file: expected a failure, got success";
    EXPECT_NE("", result.reason);
    EXPECT_EQ("new\r\n", Slurp(dir / "Environment.cfg"));

    result = files->WriteLines(Path("missing") + "\\Environment.cfg", {"new"});
    EXPECT_FALSE(result.ok) << "missing folder: expected a failure, got success";
    EXPECT_NE("", result.reason);
    EXPECT_EQ(Names{"Environment.cfg"}, Listing());

    // Fails only at the final move, after the temporary file was written.
    fs::create_directories(dir / "folder.cfg" / "inside");
    result = files->WriteLines(Path("folder.cfg"), {"new"});
    EXPECT_FALSE(result.ok) << "a folder in the way: expected a failure, got success";
    EXPECT_EQ((Names{"Environment.cfg", "folder.cfg"}), Listing());
#ifdef _WIN32
    fs::permissions(dir / "Environment.cfg", fs::perms::owner_all);
    const HANDLE lock = CreateFileA(Path("Environment.cfg").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    result = files->WriteLines(Path("Environment.cfg"), {"newer"});
    CloseHandle(lock);
    EXPECT_FALSE(result.ok) << "locked file: expected a failure, got success";
    EXPECT_EQ("new\r\n", Slurp(dir / "Environment.cfg"));
    EXPECT_EQ((Names{"Environment.cfg", "folder.cfg"}), Listing());
#endif
}

TEST_F(RealFiles, AReadOnlyFileStopsTheSaveAndIsReported) {
    const std::string input = "SND_ENABLE=1\r\n# mine\r\n";
    const struct {
        const char* readOnly;
        std::size_t messages;  // the last one is the failure
        const char* backup;    // Environment.cf0 afterwards
    } cases[] = {{"Environment.cfg", 3, "SND_ENABLE=1\r\n# mine\r\n"},
                 {"Environment.cf0", 2, "old backup\r\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.readOnly);
        TearDown();
        SetUp();
        Spill(dir / "Environment.cfg", input);
        Spill(dir / "Environment.cf0", "old backup\r\n");
        MakeReadOnly(c.readOnly);
        view.messages.clear();
        view.marker = "Set.";
        ReadAndSave();
        ASSERT_EQ(c.messages, view.messages.size());
        const std::string head =
            "[error] Could not write " + state.SettingsPath + "\\" + c.readOnly + ":\r\n";
        EXPECT_EQ(head, view.messages.back().substr(0, head.size()));
        EXPECT_EQ(input, Slurp(dir / "Environment.cfg"));
        EXPECT_EQ(c.backup, Slurp(dir / "Environment.cf0"));
        EXPECT_EQ((Names{"Environment.cf0", "Environment.cfg"}), Listing());
    }
}

}  // namespace
}  // namespace velkin::test
