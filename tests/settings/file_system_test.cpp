// The Win32 file system on the real disk, in a throwaway folder: bytes kept, failures that
// leave the old file whole and no temporary file behind, attributes and links kept.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>

#include "settings/settings.h"
#include "win32/text.h"

namespace velkin {
namespace {

using Names = std::set<std::string>;

struct RealFiles : ::testing::Test {
    std::string dir = (std::filesystem::temp_directory_path() /
                       ("velkin-test-" + std::to_string(std::random_device()())))
                          .string();
    std::unique_ptr<FileSystem> files = MakeNativeFileSystem();

    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    std::string Path(const std::string& name) const { return dir + "\\" + name; }
    // Also shows that no temporary file is left behind.
    Names Listing() const {
        Names names;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
    std::string Bytes(const std::string& name) {
        std::string bytes;
        EXPECT_TRUE(files->ReadBytes(Path(name), bytes).ok) << "expected to read " << name;
        return bytes;
    }
    void Put(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(files->WriteBytes(Path(name), bytes, ReadOnly::Refuse).ok)
            << "expected to write " << name;
    }
};

TEST_F(RealFiles, BytesComeBackWholeAndOnlyAFileExists) {
    for (const std::string& bytes : {std::string("a\0b\r\n\xe9\xff\x80\r\r\n x \n", 14),
                                     std::string(10 * 1000 * 1000, 'v'), std::string()}) {
        Put("t.cfg", bytes);
        const std::string back = Bytes("t.cfg");
        const auto same = std::mismatch(bytes.begin(), bytes.end(), back.begin(), back.end());
        EXPECT_TRUE(back == bytes)
            << "expected " << bytes.size() << " bytes back, got " << back.size() << ", the first "
            << same.first - bytes.begin() << " of them the same";
    }
    EXPECT_EQ(Names{"t.cfg"}, Listing());
    CreateDirectoryW(Wide(Path("folder")).c_str(), nullptr);
    EXPECT_TRUE(files->FileExists(Path("t.cfg")));
    EXPECT_FALSE(files->FileExists(Path("folder")));
}

// A file held open and the system's reasons are seen end to end.
TEST_F(RealFiles, AFailedWriteLeavesTheOldFileWhole) {
    Put("Environment.cfg", "old\r\n");
    CreateDirectoryW(Wide(Path("folder.cfg")).c_str(), nullptr);
    CreateDirectoryW(Wide(Path("folder.cfg\\inside")).c_str(), nullptr);
    const std::pair<const char*, std::string> cases[] = {
        {"read-only file", Path("Environment.cfg")},
        {"a folder in the way", Path("folder.cfg")},
        {"a folder that is gone", Path("gone\\Environment.cfg")}};
    for (const auto& [what, path] : cases) {
        SetFileAttributesW(Wide(Path("Environment.cfg")).c_str(), FILE_ATTRIBUTE_READONLY);
        const Result result = files->WriteBytes(path, "new\r\n", ReadOnly::Refuse);
        SetFileAttributesW(Wide(Path("Environment.cfg")).c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_FALSE(result.ok) << what << ": expected a failure, got success";
        EXPECT_EQ("old\r\n", Bytes("Environment.cfg")) << what;
        EXPECT_EQ((Names{"Environment.cfg", "folder.cfg"}), Listing()) << what;
    }
}

// Yes to the read-only question writes a read-only file, and it stays read-only; any file
// keeps its other attributes.
TEST_F(RealFiles, ASavedFileKeepsItsAttributes) {
    const std::wstring cfg = Wide(Path("Environment.cfg"));
    for (const DWORD kept : {FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE,
                             FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN}) {
        const bool readOnly = (kept & FILE_ATTRIBUTE_READONLY) != 0;
        SetFileAttributesW(cfg.c_str(), FILE_ATTRIBUTE_NORMAL);
        Put("Environment.cfg", "old\r\n");
        // Read-only last: under Wine a user who is not root cannot hide a read-only file.
        SetFileAttributesW(cfg.c_str(), kept & ~FILE_ATTRIBUTE_READONLY);
        ASSERT_TRUE(SetFileAttributesW(cfg.c_str(), kept));
        EXPECT_EQ(readOnly, files->IsReadOnly(Path("Environment.cfg"))) << "attributes " << kept;
        const Result written = files->WriteBytes(Path("Environment.cfg"), "new\r\n",
                                                 readOnly ? ReadOnly::Keep : ReadOnly::Refuse);
        EXPECT_TRUE(written.ok) << "expected success, got \"" << written.reason << "\"";
        EXPECT_EQ(kept, GetFileAttributesW(cfg.c_str()) & (kept | FILE_ATTRIBUTE_READONLY))
            << "attributes " << kept;
        EXPECT_EQ("new\r\n", Bytes("Environment.cfg")) << "attributes " << kept;
        EXPECT_EQ(Names{"Environment.cfg"}, Listing()) << "attributes " << kept;
    }
    SetFileAttributesW(cfg.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(RealFiles, AFileWrittenThroughALinkStaysALink) {
    // run by the test's command line: link.cfg, a Unix link to synced\Environment.cfg
    const char* links = std::getenv("VELKIN_LINK_DIR");
    ASSERT_NE(nullptr, links) << "expected VELKIN_LINK_DIR, got none";
    const std::string link = links + std::string("\\link.cfg");
    const std::string target = links + std::string("\\synced\\Environment.cfg");
    ASSERT_TRUE(files->WriteBytes(link, "through the link\r\n", ReadOnly::Refuse).ok);
    std::string bytes;
    EXPECT_TRUE(files->ReadBytes(target, bytes).ok);
    EXPECT_EQ("through the link\r\n", bytes) << "expected the file the link points to written";
    // Still a link: a file written in the link's place would not change its target.
    ASSERT_TRUE(files->WriteBytes(target, "x", ReadOnly::Refuse).ok);
    EXPECT_TRUE(files->ReadBytes(link, bytes).ok);
    EXPECT_EQ("x", bytes) << "link.cfg: expected still a link, got a file of its own";
}

// 李雷 and Łukasz lie outside the code page: only the wide functions reach them whole (a '?'
// in a name is refused).
TEST_F(RealFiles, NamesOutsideTheCodePageAreWrittenReplacedAndRemoved) {
    const std::string folder = "\xE6\x9D\x8E\xE9\x9B\xB7";
    const std::string name = folder + "\\\xC5\x81ukasz.cfg";
    ASSERT_TRUE(CreateDirectoryW(Wide(Path(folder)).c_str(), nullptr));
    Put(name, "old\r\n");
    Put(name, "new\r\n");
    EXPECT_TRUE(files->FileExists(Path(name)));
    EXPECT_EQ("new\r\n", Bytes(name));
    EXPECT_TRUE(files->RemoveFile(Path(name)).ok);
    EXPECT_FALSE(files->FileExists(Path(name))) << "expected the file removed";
}

TEST_F(RealFiles, ARenameNeverReplaces) {
    Put("Environment.cf0", "0");
    Put("Environment.cf1", "1");
    EXPECT_FALSE(files->RenameFile(Path("Environment.cf0"), Path("Environment.cf1")).ok)
        << "expected a failure, got success";
    EXPECT_EQ("1", Bytes("Environment.cf1"));
    const Result renamed = files->RenameFile(Path("Environment.cf1"), Path("Environment.cf2"));
    EXPECT_TRUE(renamed.ok) << "expected success, got \"" << renamed.reason << "\"";
    EXPECT_EQ((Names{"Environment.cf0", "Environment.cf2"}), Listing());
    EXPECT_EQ("1", Bytes("Environment.cf2"));
}

// What a save cut short leaves goes, a file set aside among it; nothing else does.
TEST_F(RealFiles, LeftoversAreSweptAndNothingElse) {
    const Names others = {"Environment.cfg", "notes.txt", "other.tmp", "vlknote.tmp",
                          "vlk12345.tmp"};
    for (const std::string& name : others) {
        Put(name, name);
    }
    Put("vlkd669.tmp", "cut short");
    Put("VLK1F.TMP", "cut short");
    Put("Environment.cf4", "oldest");
    std::string aside;
    const Result set = files->SetAside(Path("Environment.cf4"), aside);
    EXPECT_TRUE(set.ok) << "expected success, got \"" << set.reason << "\"";
    EXPECT_EQ("oldest", Bytes(aside.substr(aside.rfind('\\') + 1)));
    files->RemoveLeftovers(Path("Environment.cfg"));
    EXPECT_EQ(others, Listing());
}

}  // namespace
}  // namespace velkin
