// The host's portable rules: the registry path and value, start-up over a fake machine, the
// launch plan.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "tests/fakes.h"
#include "host/launcher.h"
#include "host/registry.h"
#include "host/startup.h"

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
        // The predefined handles, as the Windows headers define them: the first, the one the
        // program opens and the last pin the table's start, order and end.
        {"HKEY_CLASSES_ROOT\\a", 0x80000000u, "a", false},
        {"HKEY_CURRENT_USER", 0x80000001u, "", false},
        {"HKEY_LOCAL_MACHINE\\Software\\Corvane", 0x80000002u, "Software\\Corvane", false},
        {"HKEY_DYN_DATA\\a", 0x80000006u, "a", false},
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
                  view.boxes)
            << c.keyPath;
    }
    const std::pair<std::string, std::string> values[] = {
        {kNul, ""},
        {"", ""},
        {"abc ", "abc "},
        {"   C:\\Game  " + kNul, "C:\\Game  "},
        {"ab" + kNul + "cd" + kNul, "ab" + kNul + "cd"},
    };
    for (const auto& [stored, shaped] : values) {
        EXPECT_EQ(shaped, General::ShapeValue(stored)) << "value \"" << stored << "\"";
    }
}

std::string UsersCfg(const std::string& user) {
    return "C:\\Users\\" + user + "\\Documents\\Corvane\\Environment.cfg";
}
std::string XpCfg(const std::string& user) {
    return "C:\\Documents and Settings\\" + user + "\\My Documents\\Corvane\\Environment.cfg";
}
const char kUsers[] = "C:\\Users\\al\\Documents\\Corvane";

// A machine as start-up sees it, and the folder that start-up should find there.
struct Machine {
    const char* what;
    const char* version;
    bool yes;
    std::set<std::string> existing;
    const char* settingsPath;  // found when longer than "1"
    const char* user = "al";   // USERNAME
    const char* documents = "";
};

// Nothing but reads.
struct FakeMachine : StartupMachine {
    const Machine& m;
    explicit FakeMachine(const Machine& machine) : m(machine) {}
    std::string ReadRegistryString(const std::string& key, const std::string& value,
                                   View&) override {
        if (key.find("Uninstall\\Corvane_is1") != std::string::npos && value == "DisplayIcon") {
            return "C:\\Games\\Corvane.exe" + kNul + "junk";
        }
        return key.find("Windows NT\\CurrentVersion") != std::string::npos ? m.version : "Error";
    }
    std::string UserName() override { return m.user; }
    std::string ProgramFolder() override { return "C:\\Tools\\Velkin"; }
    std::string DocumentsFolder() override { return m.documents; }
};

TEST(RunStartup, FindsTheSettingsFolder) {
    const Machine cases[] = {
        {"XP", "5.1", true, {XpCfg("al")}, "C:\\Documents and Settings\\al\\My Documents\\Corvane"},
        {"5.1 with a blank", "5.1 ", true, {XpCfg("al"), UsersCfg("al")}, kUsers},
        {"answer No", "6.1", false, {UsersCfg("al"), XpCfg("al")}, "1"},
        {"nothing on Windows 7", "6.1", true, {XpCfg("al")}, "1"},
        {"nothing on XP", "5.1", true, {UsersCfg("al")}, ""},
        {"user name with blanks",
         "6.1",
         true,
         {UsersCfg("J Smith")},
         "C:\\Users\\J Smith\\Documents\\Corvane",
         "J Smith  "},
        {"USERNAME unset", "6.1", true, {UsersCfg("al")}, "1", ""},
        {"Documents on XP",
         "5.1",
         true,
         {"D:\\Corvane\\Environment.cfg"},
         "D:\\Corvane",
         "al",
         "D:\\"},
        {"layout before Documents",
         "6.1",
         true,
         {"D:\\Docs\\Corvane\\Environment.cfg", UsersCfg("al")},
         kUsers,
         "al",
         "D:\\Docs"},
        {"Documents unknown", "6.1", true, {"\\Corvane\\Environment.cfg"}, "1"},
    };
    for (const auto& c : cases) {
        FakeMachine machine(c);
        FakeFileSystem files;
        for (const std::string& path : c.existing) {
            files.files[path] = "";
        }
        FakeView view;
        view.yes = c.yes;
        HostState state;
        std::string settingsPath;
        RunStartup(state, settingsPath, view, machine, files);
        // The question, then for a folder found one box to say so. Their texts, the title and
        // the removal of an old usr.tmp are seen end to end.
        const bool found = std::string(c.settingsPath).size() > 1;
        EXPECT_EQ(found ? 2u : 1u, view.boxes.size()) << c.what;
        EXPECT_EQ(c.settingsPath, settingsPath) << c.what;
        EXPECT_EQ(found ? "Set." : "NOT Set.", view.marker) << c.what;
        EXPECT_EQ("C:\\Games\\Corvane.exe", state.GamePath) << c.what;
    }
}

TEST(PlanLaunch, TheExactProgramQuotedInItsFolderOrWhyNot) {
    const std::string noPath =
        "Corvane's entry in the registry gives no program path, so Velkin does not know where to "
        "start it from. Reinstalling Corvane may repair the entry.";
    const struct {
        const char* path;
        std::string plan;  // "command line | folder", or the refusal
    } cases[] = {
        // Quoted, so that a path with blanks never starts a program named by a part of it; an
        // icon index, with or without quotes, is not part of the program file.
        {"\"C:\\Corvane Game\\Corvane.exe\",0",
         "\"C:\\Corvane Game\\Corvane.exe\" | C:\\Corvane Game"},
        {"C:\\G\\Corvane.EXE, -1", "\"C:\\G\\Corvane.EXE\" | C:\\G"},
        {"C:\\Saves,2\\Corvane.exe", "\"C:\\Saves,2\\Corvane.exe\" | C:\\Saves,2"},
        {"", noPath},
        {"\"\",0", noPath},
    };
    for (const auto& c : cases) {
        const LaunchPlan plan = PlanLaunch(c.path);
        EXPECT_EQ(c.plan,
                  plan.refusal.empty() ? plan.commandLine + " | " + plan.folder : plan.refusal)
            << "path \"" << c.path << "\"";
    }
    EXPECT_EQ("Could not start C:\\G?\\x.exe:\r\nwhy", StartFailure("C:\\G\t\\x.exe", "why"));
}

}  // namespace
}  // namespace velkin::test
