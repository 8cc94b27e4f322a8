// The registry reader's splitting and shaping rules, over a registry held in memory.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "registry.h"

namespace velkin {
namespace {

using General::ReadRegistryString;
using General::RootKeyHandle;
using General::SplitRootKey;

constexpr long kFileNotFound = 2;
constexpr long kAccessDenied = 5;
constexpr long kMoreData = 234;

class RecordingReport : public General::FormatReport {
  public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

// Values are raw bytes, stored as the registry would hand them to an ANSI caller.
class FakeRegistry : public Registry {
  public:
    void Put(std::uint32_t root, const std::string& subKey, const std::string& name,
             std::string bytes) {
        values[{root, subKey}][name] = std::move(bytes);
    }

    long Open(std::uint32_t root, const std::string& subKey, Key& key) override {
        opened.push_back({root, subKey});
        if (openResult != 0) {
            return openResult;
        }
        auto found = values.find({root, subKey});
        if (found == values.end()) {
            return kFileNotFound;
        }
        key = ++lastKey;
        keys[key] = found->first;
        return 0;
    }

    long Query(Key key, const std::string& valueName, char* data, std::uint32_t& size) override {
        queriedSizes.push_back(size);
        queriedNames.push_back(valueName);
        if (queryResult != 0) {
            return queryResult;
        }
        const auto& named = values[keys.at(key)];
        auto found = named.find(valueName);
        if (found == named.end()) {
            return kFileNotFound;
        }
        const std::string& bytes = found->second;
        const std::uint32_t room = size;
        size = static_cast<std::uint32_t>(bytes.size());
        if (bytes.size() > room) {
            return kMoreData;
        }
        bytes.copy(data, bytes.size());
        return 0;
    }

    void Close(Key key) override { closed.push_back(key); }

    std::map<std::pair<std::uint32_t, std::string>, std::map<std::string, std::string>> values;
    std::map<Key, std::pair<std::uint32_t, std::string>> keys;
    Key lastKey = 100;
    long openResult = 0;
    long queryResult = 0;
    std::vector<std::pair<std::uint32_t, std::string>> opened;
    std::vector<std::uint32_t> queriedSizes;
    std::vector<std::string> queriedNames;
    std::vector<Key> closed;
};

const char kWindowsKey[] = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion";
const char kWindowsSubKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";

TEST(RootKeyHandle, NamesTheSevenRootsExactly) {
    const struct {
        const char* name;
        std::uint32_t handle;
    } cases[] = {
        {"HKEY_CLASSES_ROOT", 0x80000000u},
        {"HKEY_CURRENT_USER", 0x80000001u},
        {"HKEY_LOCAL_MACHINE", 0x80000002u},
        {"HKEY_USERS", 0x80000003u},
        {"HKEY_PERFORMANCE_DATA", 0x80000004u},
        {"HKEY_CURRENT_CONFIG", 0x80000005u},
        {"HKEY_DYN_DATA", 0x80000006u},
        {"hkey_local_machine", 0},
        {"HKEY_LOCAL_MACHINE ", 0},
        {"HKLM", 0},
        {"HKEY_OTHER", 0},
        {"", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.handle, RootKeyHandle(c.name)) << "name \"" << c.name << "\"";
    }
}

TEST(SplitRootKey, SplitsOrReportsTheFormat) {
    const struct {
        const char* keyPath;
        const char* subKey;  // what keyPath holds afterwards
        std::uint32_t root;
        bool reported;
    } cases[] = {
        {"HKEY_LOCAL_MACHINE\\Software\\Corvane", "Software\\Corvane", General::kLocalMachine,
         false},
        {"HKEY_USERS\\a\\b\\c", "a\\b\\c", General::kUsers, false},
        {"HKEY_CURRENT_USER", "", General::kCurrentUser, false},
        {"HKEY_OTHER\\Software", "Software", 0, false},
        {"HKEY_\\Software", "Software", 0, false},
        {"HKEY_LOCAL_MACHINE\\Software\\", "HKEY_LOCAL_MACHINE\\Software\\", 0, true},
        {"HKEY_LOCAL_MACHINE\\", "HKEY_LOCAL_MACHINE\\", 0, true},
        {"hkey_local_machine\\Software", "hkey_local_machine\\Software", 0, true},
        {"HKEY", "HKEY", 0, true},
        {"HKLM\\Software", "HKLM\\Software", 0, true},
        {"", "", 0, true},
    };
    for (const auto& c : cases) {
        RecordingReport report;
        std::string keyPath = c.keyPath;
        std::uint32_t root = 12345;
        SplitRootKey(keyPath, root, report);
        EXPECT_EQ(c.subKey, keyPath) << "key path \"" << c.keyPath << "\"";
        EXPECT_EQ(c.root, root) << "key path \"" << c.keyPath << "\"";
        if (c.reported) {
            ASSERT_EQ(1u, report.messages.size()) << "key path \"" << c.keyPath << "\"";
            EXPECT_EQ(std::string("Incorrect Format:\n\n") + c.keyPath, report.messages[0]);
        } else {
            EXPECT_TRUE(report.messages.empty())
                << "key path \"" << c.keyPath << "\": expected no message, got \""
                << report.messages[0] << "\"";
        }
    }
}

TEST(ReadRegistryString, ShapesTheStoredBytes) {
    const std::string nul(1, '\0');
    const struct {
        const char* what;
        std::string bytes;
        std::string expected;
    } cases[] = {
        {"ordinary string", "C:\\Games\\Corvane\\Corvane.exe" + nul,
         "C:\\Games\\Corvane\\Corvane.exe"},
        {"version", "6.1" + nul, "6.1"},
        {"254 characters fit with their zero", std::string(254, 'a') + nul, std::string(254, 'a')},
        {"255 characters do not fit", std::string(255, 'a') + nul, "Error"},
        {"1000 characters", std::string(1000, 'a') + nul, "Error"},
        {"only the terminating zero", nul, ""},
        {"no data at all", "", ""},
        {"no terminating zero", "abc", "abc"},
        {"no terminating zero, blank at the end", "abc ", "abc "},
        {"leading blanks go, trailing stay", "   C:\\Game  " + nul, "C:\\Game  "},
        {"only blanks", "    " + nul, ""},
        {"the text Error", "Error" + nul, "Error"},
        {"zero inside is kept for the caller", "ab" + nul + "cd" + nul, "ab" + nul + "cd"},
    };
    for (const auto& c : cases) {
        FakeRegistry registry;
        registry.Put(General::kLocalMachine, kWindowsSubKey, "CurrentVersion", c.bytes);
        RecordingReport report;
        const std::string got = ReadRegistryString(kWindowsKey, "CurrentVersion", registry, report);
        EXPECT_EQ(c.expected, got) << c.what;
        EXPECT_EQ(registry.opened.size(), registry.closed.size())
            << c.what << ": expected every opened key closed";
        EXPECT_TRUE(report.messages.empty()) << c.what;
    }
}

TEST(ReadRegistryString, PassesTheSplitKeyAndA255ByteBuffer) {
    FakeRegistry registry;
    registry.Put(General::kLocalMachine, kWindowsSubKey, "CurrentVersion", std::string("5.1", 4));
    RecordingReport report;
    EXPECT_EQ("5.1", ReadRegistryString(kWindowsKey, "CurrentVersion", registry, report));
    ASSERT_EQ(1u, registry.opened.size());
    EXPECT_EQ(General::kLocalMachine, registry.opened[0].first);
    EXPECT_EQ(kWindowsSubKey, registry.opened[0].second);
    ASSERT_EQ(1u, registry.queriedSizes.size());
    EXPECT_EQ(255u, registry.queriedSizes[0]);
    EXPECT_EQ("CurrentVersion", registry.queriedNames[0]);
    ASSERT_EQ(1u, registry.closed.size());
    EXPECT_EQ(101u, registry.closed[0]) << "expected the opened key closed";
}

TEST(ReadRegistryString, ReadsARootKeyItself) {
    FakeRegistry registry;
    registry.Put(General::kCurrentUser, "", "Name", std::string("x", 2));
    RecordingReport report;
    EXPECT_EQ("x", ReadRegistryString("HKEY_CURRENT_USER", "Name", registry, report));
}

TEST(ReadRegistryString, AnyFailureIsError) {
    const struct {
        const char* what;
        long openResult;
        long queryResult;
        const char* valueName;
    } cases[] = {
        {"key missing", kFileNotFound, 0, "CurrentVersion"},
        {"key denied", kAccessDenied, 0, "CurrentVersion"},
        {"open says more data", kMoreData, 0, "CurrentVersion"},
        {"open fails oddly", -1, 0, "CurrentVersion"},
        {"value missing", 0, 0, "NoSuchValue"},
        {"value denied", 0, kAccessDenied, "CurrentVersion"},
        {"query fails oddly", 0, 13, "CurrentVersion"},
    };
    for (const auto& c : cases) {
        FakeRegistry registry;
        registry.Put(General::kLocalMachine, kWindowsSubKey, "CurrentVersion",
                     std::string("6.1", 4));
        registry.openResult = c.openResult;
        registry.queryResult = c.queryResult;
        RecordingReport report;
        EXPECT_EQ("Error", ReadRegistryString(kWindowsKey, c.valueName, registry, report))
            << c.what;
        const std::size_t opened = c.openResult == 0 ? 1 : 0;
        EXPECT_EQ(opened, registry.closed.size())
            << c.what << ": expected " << opened << " key(s) closed";
    }
}

TEST(ReadRegistryString, NoRootKeyGivesEmptyWithoutTouchingTheRegistry) {
    const struct {
        const char* keyPath;
        std::size_t messages;
    } cases[] = {
        {"HKEY_OTHER\\Software", 0},
        {"hkey_local_machine\\Software", 1},
        {"HKEY_LOCAL_MACHINE\\Software\\", 1},
    };
    for (const auto& c : cases) {
        FakeRegistry registry;
        RecordingReport report;
        EXPECT_EQ("", ReadRegistryString(c.keyPath, "CurrentVersion", registry, report))
            << c.keyPath;
        EXPECT_TRUE(registry.opened.empty())
            << c.keyPath << ": expected no open, got " << registry.opened.size();
        EXPECT_EQ(c.messages, report.messages.size()) << c.keyPath;
    }
}

}  // namespace
}  // namespace velkin
