// The host's portable rules: the registry path and value, start-up over a fake machine, the
// launch plan.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

#include "fakes.h"
#include "launcher.h"
#include "registry.h"
#include "startup.h"

namespace velkin::test {
namespace {

const std::string kNul(1, '\0');

TEST(Registry, SplitsTheKeyPathOrReportsItsFormat) {
    const struct {
        const char* keyPath;
        std::uint32_t root;  // 0: none
        const char* subKey;  // what is left of the key path
        bool reported;
    } cases[] = {
        {"HKEY_CURRENT_USER\\a", General::kCurrentUser, "a", false},
        {"HKEY_LOCAL_MACHINE\\Software\\Corvane", General::kLocalMachine, "Software\\Corvane",
         false},
        {"HKEY_DYN_DATA\\a", General::kDynData, "a", false},
        {"HKEY_CURRENT_USER", General::kCurrentUser, "", false},
        {"HKEY_OTHER\\Software", 0, "Software", false},
        {"HKEY_LOCAL_MACHINE \\Software", 0, "Software", false},
        {"HKEY_LOCAL_MACHINE\\Software\\", 0, "HKEY_LOCAL_MACHINE\\Software\\", true},
        {"hkey_local_machine\\Software", 0, "hkey_local_machine\\Software", true},
        {"HKLM\\Software", 0, "HKLM\\Software", true},
        {"", 0, "", true},
    };
    for (const auto& c : cases) {
        FakeView view;
        std::string keyPath = c.keyPath;
        std::uint32_t root = 7;
        General::SplitRootKey(keyPath, root, view);
        EXPECT_EQ(c.root, root) << c.keyPath;
        EXPECT_EQ(c.subKey, keyPath) << c.keyPath;
        EXPECT_EQ(c.reported ? Lines{std::string("Incorrect Format:\n\n") + c.keyPath} : Lines{},
                  view.boxes);
    }
    const std::pair<std::string, std::string> values[] = {
        {"C:\\Games\\Corvane.exe" + kNul, "C:\\Games\\Corvane.exe"},
        {std::string(254, 'a') + kNul, std::string(254, 'a')},
        {kNul, ""},
        {"", ""},
        {"abc ", "abc "},
        {"   C:\\Game  " + kNul, "C:\\Game  "},
        {"ab" + kNul + "cd" + kNul, "ab" + kNul + "cd"},
    };
    for (const auto& v : values) {
        EXPECT_EQ(v.second,
                  General::ShapeValue(v.first.data(), static_cast<std::uint32_t>(v.first.size())));
    }
}

// usr.tmp holds what the echo commands wrote in the folder they ran in; an echo's line lands
// only after a wait, as with the real command interpreter.
struct FakeMachine : StartupMachine {
    std::string ReadRegistryString(const std::string& key, const std::string& value) override {
        if (key.find("Uninstall\\Corvane_is1") != std::string::npos && value == "DisplayIcon") {
            return "C:\\Games\\Corvane.exe" + kNul + "junk";
        }
        return key.find("Windows NT\\CurrentVersion") != std::string::npos ? version : "Error";
    }
    bool StartHidden(const std::string& command, const std::string& folder) override {
        EXPECT_EQ("cmd.exe /c echo %USERNAME% >> usr.tmp", command);
        pending = {folder + "\\usr.tmp", user + " "};
        return true;
    }
    void Sleep(unsigned ms) override {
        if (ms >= 1000 && !pending.first.empty()) {
            files[pending.first].push_back(pending.second);
            pending = {};
        }
    }
    bool ReadScratchFile(const std::string& path, Lines& lines) override {
        const auto found = files.find(path);
        return found != files.end() && (lines = found->second, true);
    }
    void RemoveFile(const std::string& path) override { files.erase(path); }
    std::string ProgramFolder() override { return "C:\\Tools\\Velkin"; }
    bool FileExists(const std::string& path) override { return existing.count(path) != 0; }
    std::string DocumentsFolder() override { return documents; }

    std::string version, user, documents;
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
        {"answer No", "6.1", false, {UsersCfg("al"), XpCfg("al")}, "1", "al", "", {"old "}},
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
    };
    // clang-format on
    for (const auto& c : cases) {
        FakeMachine machine;
        machine.version = c.version;
        machine.user = c.user;
        machine.documents = c.documents;
        machine.existing = c.existing;
        if (!c.scratch.empty()) {
            machine.files[scratch] = c.scratch;
        }
        FakeView view;
        view.yes = c.yes;
        HostState state;
        std::string settingsPath;
        RunStartup(state, settingsPath, view, machine);
        const bool found = std::string(c.settingsPath).size() > 1;
        Lines boxes = {"ask Would you like to try and automatically detect settings path?"};
        if (found) {
            boxes.push_back(
                "Settings path auto-detected :) Click Set Environment.cfg to detect values.");
        }
        EXPECT_EQ(c.settingsPath, settingsPath) << c.what;
        EXPECT_EQ(boxes, view.boxes) << c.what;
        EXPECT_EQ(found ? "Set." : "NOT Set.", view.marker) << c.what;
        EXPECT_EQ(c.yes ? c.user : "", state.UserName) << c.what;
        EXPECT_EQ(0u, machine.files.count(scratch)) << c.what << ": expected usr.tmp gone, got it";
        EXPECT_EQ("C:\\Games\\Corvane.exe", state.GamePath) << c.what;
        EXPECT_EQ("Velkin - Corvane Advanced Config Tool v0.2.1", view.title) << c.what;
    }
}

TEST(PlanLaunch, TheExactProgramQuotedInItsFolderOrWhyNot) {
    const std::string noPath =
        "Corvane's entry in the registry gives no program path, so Velkin does not know where to "
        "start it from. Reinstalling Corvane may repair the entry.";
    const struct {
        const char* path;
        std::string plan;  // "program | folder", or the refusal
    } cases[] = {
        {"C:\\Program Files (x86)\\Corvane Game\\Corvane.exe",
         "C:\\Program Files (x86)\\Corvane Game\\Corvane.exe | C:\\Program Files (x86)\\Corvane "
         "Game"},
        {"C:\\Corvane.exe", "C:\\Corvane.exe | C:\\"},
        {"D:/Games/Corvane.exe", "D:/Games/Corvane.exe | D:/Games"},
        {"Corvane.exe", "Corvane.exe | "},
        // An icon index, with or without quotes, is not part of the program file.
        {"\"C:\\Corvane Game\\Corvane.exe\",0", "C:\\Corvane Game\\Corvane.exe | C:\\Corvane Game"},
        {"C:\\G\\Corvane.EXE, -1", "C:\\G\\Corvane.EXE | C:\\G"},
        {"C:\\Saves,2\\Corvane.exe", "C:\\Saves,2\\Corvane.exe | C:\\Saves,2"},
        {"Error",
         "Corvane is not installed: its entry was not found in the registry, so Velkin "
         "does not know where to start it from."},
        {"", noPath},
        {"\"\",0", noPath},
    };
    for (const auto& c : cases) {
        const LaunchPlan plan = PlanLaunch(c.path);
        EXPECT_EQ(c.plan, plan.refusal.empty() ? plan.program + " | " + plan.folder : plan.refusal);
        // Quoted, so that a path with blanks never starts a program named by a part of it.
        EXPECT_EQ(plan.refusal.empty() ? "\"" + plan.program + "\"" : "", plan.commandLine);
    }
    EXPECT_EQ("Could not start C:\\G?\\x.exe:\r\nwhy", StartFailure("C:\\G\t\\x.exe", "why"));
}

}  // namespace
}  // namespace velkin::test
