// The host's portable rules over fakes: the registry reader, start-up, the launcher.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "launcher.h"
#include "registry.h"
#include "startup.h"

namespace velkin {
namespace {

using Lines = std::vector<std::string>;
const std::string kNul(1, '\0');

// Shows every message box as a line of `shown`.
struct Messages : General::FormatReport, StartupUi, LaunchUi {
    void ShowMessage(const std::string& text) override { shown.push_back(text); }
    void ShowError(const std::string& text) override { shown.push_back(text); }
    bool AskYesNo(const std::string& text) override {
        shown.push_back("ask " + text);
        return yes;
    }
    void SetTitle(const std::string& text) override { title = text; }
    void SetMarker(const std::string& caption) override { marker = caption; }
    bool yes = true;
    Lines shown;
    std::string title;
    std::string marker = "NOT Set.";
};

// One value, stored as raw bytes under HKEY_LOCAL_MACHINE\Software\Corvane, as the registry
// hands it to an ANSI caller; `openResult`/`queryResult` make the calls fail.
struct FakeRegistry : Registry {
    long Open(std::uint32_t root, const std::string& subKey, Key& key) override {
        opened.push_back(std::to_string(root - General::kClassesRoot) + " " + subKey);
        key = 7;
        return openResult != 0 ? openResult : subKey == "Software\\Corvane" ? 0 : 2;
    }
    long Query(Key, const std::string& name, char* data, std::uint32_t& size) override {
        const std::uint32_t room = size;
        size = static_cast<std::uint32_t>(bytes.size());
        if (queryResult != 0 || name != "Path") {
            return queryResult != 0 ? queryResult : 2;
        }
        return bytes.size() > room ? 234 : (bytes.copy(data, bytes.size()), 0);
    }
    void Close(Key key) override { closed += key; }
    std::string bytes;
    long openResult = 0, queryResult = 0;
    Lines opened;
    Key closed = 0;
};

TEST(Registry, SplitsTheKeyPathOrReportsItsFormat) {
    const struct {
        const char* keyPath;
        const char* opened;  // "<root - HKEY_CLASSES_ROOT> <sub key>", "" when none
        bool reported;
    } cases[] = {
        {"HKEY_LOCAL_MACHINE\\Software\\Corvane", "2 Software\\Corvane", false},
        {"HKEY_CLASSES_ROOT\\a\\b", "0 a\\b", false},
        {"HKEY_CURRENT_USER\\a", "1 a", false},
        {"HKEY_USERS\\a", "3 a", false},
        {"HKEY_PERFORMANCE_DATA\\a", "4 a", false},
        {"HKEY_CURRENT_CONFIG\\a", "5 a", false},
        {"HKEY_DYN_DATA\\a", "6 a", false},
        {"HKEY_CURRENT_USER", "1 ", false},
        {"HKEY_OTHER\\Software", "", false},
        {"HKEY_LOCAL_MACHINE \\Software", "", false},
        {"HKEY_LOCAL_MACHINE\\Software\\", "", true},
        {"hkey_local_machine\\Software", "", true},
        {"HKLM\\Software", "", true},
        {"", "", true},
    };
    for (const auto& c : cases) {
        FakeRegistry registry;
        registry.bytes = "v" + kNul;
        Messages report;
        const std::string got = General::ReadRegistryString(c.keyPath, "Path", registry, report);
        EXPECT_EQ(c.opened, registry.opened.empty() ? "" : registry.opened[0]) << c.keyPath;
        const bool ours = std::string(c.opened) == "2 Software\\Corvane";
        EXPECT_EQ(ours ? "v" : *c.opened != '\0' ? "Error" : "", got) << c.keyPath;
        EXPECT_EQ(c.reported ? Lines{std::string("Incorrect Format:\n\n") + c.keyPath} : Lines{},
                  report.shown);
    }
}

TEST(Registry, ShapesTheStoredBytesAndGivesErrorOnAnyFailure) {
    const struct {
        std::string bytes;
        long openResult, queryResult;
        std::string expected;
    } cases[] = {
        {"C:\\Games\\Corvane.exe" + kNul, 0, 0, "C:\\Games\\Corvane.exe"},
        {std::string(254, 'a') + kNul, 0, 0, std::string(254, 'a')},
        {std::string(255, 'a') + kNul, 0, 0, "Error"},
        {kNul, 0, 0, ""},
        {"abc ", 0, 0, "abc "},
        {"   C:\\Game  " + kNul, 0, 0, "C:\\Game  "},
        {"ab" + kNul + "cd" + kNul, 0, 0, "ab" + kNul + "cd"},
        {"6.1" + kNul, 5, 0, "Error"},
        {"6.1" + kNul, 234, 0, "Error"},
        {"6.1" + kNul, 0, 5, "Error"},
    };
    for (const auto& c : cases) {
        FakeRegistry registry;
        registry.bytes = c.bytes;
        registry.openResult = c.openResult;
        registry.queryResult = c.queryResult;
        Messages report;
        EXPECT_EQ(c.expected, General::ReadRegistryString("HKEY_LOCAL_MACHINE\\Software\\Corvane",
                                                          "Path", registry, report));
        EXPECT_EQ(c.openResult == 0 ? 7u : 0u, registry.closed) << "expected the key closed once";
    }
}

// usr.tmp holds what the echo commands wrote in the folder they ran in; an echo's line lands
// only after a wait, as with the real command interpreter.
struct FakeMachine : StartupMachine {
    std::string ReadRegistryString(const std::string& key, const std::string& value) override {
        if (key.find("Uninstall\\Corvane_is1") != std::string::npos && value == "DisplayIcon") {
            return displayIcon;
        }
        return key.find("Windows NT\\CurrentVersion") != std::string::npos ? version : "Error";
    }
    bool StartHidden(const std::string& command, const std::string& folder) override {
        if (command == "cmd.exe /c echo %USERNAME% >> usr.tmp") {
            pending = {folder + "\\usr.tmp", user + " "};
        } else if (command == "cmd.exe /c del usr.tmp") {
            files.erase(folder + "\\usr.tmp");
        }
        return true;
    }
    void Sleep(unsigned ms) override {
        if (ms >= 1000 && !pending.first.empty()) {
            files[pending.first].push_back(pending.second);
            pending = {};
        }
    }
    bool ReadTextFile(const std::string& path, Lines& lines) override {
        const auto found = files.find(path);
        return found != files.end() && (lines = found->second, true);
    }
    std::string ProgramFolder() override { return "C:\\Tools\\Velkin"; }
    bool FileExists(const std::string& path) override { return existing.count(path) != 0; }
    std::string DocumentsFolder() override { return documents; }

    std::string displayIcon, version, user, documents;
    std::set<std::string> existing;
    std::map<std::string, Lines> files;
    std::pair<std::string, std::string> pending;
};

std::string UsersCfg(const std::string& user) {
    return "C:\\Users\\" + user + "\\Documents\\Corvane\\Environment.cfg";
}
std::string XpCfg(const std::string& user) {
    return "C:\\Documents and Settings\\" + user + "\\My Documents\\Corvane\\Environment.cfg";
}
const char kUsers[] = "C:\\Users\\al\\Documents\\Corvane";
const char kXp[] = "C:\\Documents and Settings\\al\\My Documents\\Corvane";
const char kFound[] = "Settings path auto-detected :) Click Set Environment.cfg to detect values.";

TEST(RunStartup, FindsTheSettingsFolder) {
    const std::string scratch = "C:\\Tools\\Velkin\\usr.tmp";
    const std::string kDocsCfg = "D:\\Docs\\Corvane\\Environment.cfg";
    // clang-format off
    const struct {
        const char* what;
        const char* version;
        bool yes;
        std::set<std::string> existing;
        const char* settingsPath;  // found when longer than "1"
        const char* user = "al";
        const char* documents = "";
        Lines scratch = {};  // usr.tmp before the start
    } cases[] = {
        {"Windows 7", "6.1", true, {UsersCfg("al"), XpCfg("al")}, kUsers},
        {"XP", "5.1", true, {UsersCfg("al"), XpCfg("al")}, kXp},
        {"5.1 with a blank", "5.1 ", true, {XpCfg("al"), UsersCfg("al")}, kUsers},
        {"no registry value", "Error", true, {UsersCfg("al")}, kUsers},
        {"answer No", "6.1", false, {UsersCfg("al"), XpCfg("al")}, "1"},
        {"answer No on XP", "5.1", false, {XpCfg("al")}, "1"},
        {"nothing on Windows 7", "6.1", true, {XpCfg("al")}, "1"},
        {"nothing on XP", "5.1", true, {UsersCfg("al")}, ""},
        {"a folder, not a file", "6.1", true, {kUsers}, "1"},
        {"user name with blanks", "6.1", true, {UsersCfg("J Smith")},
         "C:\\Users\\J Smith\\Documents\\Corvane", "J Smith"},
        {"stale usr.tmp", "6.1", true, {UsersCfg("old"), UsersCfg("al")}, kUsers, "al", "",
         {"old ", ""}},
        {"Documents", "6.1", true, {kDocsCfg}, "D:\\Docs\\Corvane", "al", "D:\\Docs"},
        {"Documents on XP", "5.1", true, {"D:\\Corvane\\Environment.cfg"}, "D:\\Corvane", "al",
         "D:\\"},
        {"layout before Documents", "6.1", true, {kDocsCfg, UsersCfg("al")}, kUsers, "al",
         "D:\\Docs"},
        {"Documents unknown", "6.1", true, {"\\Corvane\\Environment.cfg"}, "1"},
        {"every existence test fails", "5.1", true, {}, "", "al", "D:\\Docs"},
    };
    // clang-format on
    for (const auto& c : cases) {
        FakeMachine machine;
        machine.displayIcon = "C:\\Games\\Corvane.exe" + kNul + "junk";
        machine.version = c.version;
        machine.user = c.user;
        machine.documents = c.documents;
        machine.existing = c.existing;
        if (!c.scratch.empty()) {
            machine.files[scratch] = c.scratch;
        }
        Messages ui;
        ui.yes = c.yes;
        HostState state;
        std::string settingsPath;
        RunStartup(state, settingsPath, ui, machine);
        const bool found = std::string(c.settingsPath).size() > 1;
        Lines shown = {"ask Would you like to try and automatically detect settings path?"};
        if (found) {
            shown.push_back(kFound);
        }
        EXPECT_EQ(c.settingsPath, settingsPath) << c.what;
        EXPECT_EQ(shown, ui.shown) << c.what;
        EXPECT_EQ(found ? "Set." : "NOT Set.", ui.marker) << c.what;
        EXPECT_EQ(c.yes ? c.user : "", state.UserName) << c.what;
        EXPECT_EQ(0u, machine.files.count(scratch)) << c.what << ": usr.tmp left behind";
        EXPECT_EQ("C:\\Games\\Corvane.exe", state.GamePath) << c.what;
        EXPECT_EQ("Velkin - Corvane Advanced Config Tool v0.2.1", ui.title);
    }
}

struct FakeStarter : ProgramStarter {
    bool StartMaximized(const std::string& application, const std::string& commandLine,
                        const std::string& workDir, std::string& reason) override {
        starts.push_back(application + " | " + commandLine + " | " + workDir);
        reason = failure;
        return failure.empty();
    }
    Lines starts;
    std::string failure;
};

TEST(LaunchGame, StartsExactlyTheQuotedPathInItsFolderOrSaysWhyNot) {
    const char kNotInstalled[] =
        "Corvane is not installed: its entry was not found in the registry, so Velkin does not "
        "know where to start it from.";
    const struct {
        const char* path;
        const char* failure;
        Lines starts;
        Lines shown;
    } cases[] = {
        {"C:\\Program Files (x86)\\Corvane Game\\Corvane.exe",
         "",
         {"C:\\Program Files (x86)\\Corvane Game\\Corvane.exe | \"C:\\Program Files (x86)\\Corvane "
          "Game\\Corvane.exe\" | C:\\Program Files (x86)\\Corvane Game"},
         {}},
        {"C:\\Corvane.exe", "", {"C:\\Corvane.exe | \"C:\\Corvane.exe\" | C:\\"}, {}},
        {"D:/Games/Corvane.exe",
         "",
         {"D:/Games/Corvane.exe | \"D:/Games/Corvane.exe\" | D:/Games"},
         {}},
        {"Corvane.exe", "", {"Corvane.exe | \"Corvane.exe\" | "}, {}},
        // An icon index, with or without quotes, is not part of the program file.
        {"\"C:\\Corvane Game\\Corvane.exe\",0",
         "",
         {"C:\\Corvane Game\\Corvane.exe | \"C:\\Corvane Game\\Corvane.exe\" | C:\\Corvane Game"},
         {}},
        {"C:\\G\\Corvane.EXE, -1", "", {"C:\\G\\Corvane.EXE | \"C:\\G\\Corvane.EXE\" | C:\\G"}, {}},
        {"C:\\Saves,2\\Corvane.exe",
         "",
         {"C:\\Saves,2\\Corvane.exe | \"C:\\Saves,2\\Corvane.exe\" | C:\\Saves,2"},
         {}},
        {"Error", "", {}, {kNotInstalled}},
        {"", "", {}, {kNotInstalled}},
        {"C:\\G\\Corvane.exe",
         "Access is denied.",
         {"C:\\G\\Corvane.exe | \"C:\\G\\Corvane.exe\" | C:\\G"},
         {"Could not start C:\\G\\Corvane.exe:\r\nAccess is denied."}},
    };
    for (const auto& c : cases) {
        FakeStarter starter;
        starter.failure = c.failure;
        Messages ui;
        LaunchGame(c.path, starter, ui);
        EXPECT_EQ(c.starts, starter.starts);
        EXPECT_EQ(c.shown, ui.shown);
    }
}

}  // namespace
}  // namespace velkin
