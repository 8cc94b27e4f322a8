// Start-up over a fake window and a fake machine that keeps its files in memory.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "startup.h"

namespace velkin {
namespace {

const char kProgramFolder[] = "C:\\Tools\\Velkin";
const char kUninstallKey[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane_is1";
const char kWindowsKey[] = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion";
const char kQuestion[] = "Would you like to try and automatically detect settings path?";
const char kFound[] = "Settings path auto-detected :) Click Set Environment.cfg to detect values.";
const char kEcho[] = "cmd.exe /c echo %USERNAME% >> usr.tmp";
const char kDelete[] = "cmd.exe /c del usr.tmp";

using Log = std::vector<std::string>;

class FakeUi : public StartupUi {
  public:
    explicit FakeUi(Log& log) : log_(log) {}
    bool AskYesNo(const std::string& text) override {
        log_.push_back("ask " + text);
        return answer;
    }
    void ShowMessage(const std::string& text) override {
        log_.push_back("message " + text);
        messages.push_back(text);
    }
    void SetTitle(const std::string& title) override {
        log_.push_back("title " + title);
        this->title = title;
    }
    void SetMarker(const std::string& caption) override {
        log_.push_back("marker " + caption);
        marker = caption;
    }

    bool answer = true;
    std::vector<std::string> messages;
    std::string title;
    std::string marker = "NOT Set.";

  private:
    Log& log_;
};

// The echo command appends "<user> " to usr.tmp in the folder it runs in, the delete command
// removes it there, as the command interpreter would.
class FakeMachine : public StartupMachine {
  public:
    explicit FakeMachine(Log& log) : log_(log) {}

    std::string ReadRegistryString(const std::string& keyPath,
                                   const std::string& valueName) override {
        log_.push_back("registry " + valueName);
        if (keyPath == kUninstallKey && valueName == "DisplayIcon") {
            return displayIcon;
        }
        if (keyPath == kWindowsKey && valueName == "CurrentVersion") {
            return version;
        }
        return "Error";
    }
    bool StartHidden(const std::string& commandLine, const std::string& workDir) override {
        log_.push_back("start " + commandLine + " in " + workDir);
        if (!commandsRun) {
            return false;
        }
        const std::string scratch = workDir + "\\usr.tmp";
        if (commandLine == kEcho) {
            files[scratch].push_back(user + " ");
        } else if (commandLine == kDelete) {
            files.erase(scratch);
        }
        return true;
    }
    void Sleep(unsigned milliseconds) override {
        log_.push_back("sleep " + std::to_string(milliseconds));
    }
    bool ReadTextFile(const std::string& path, std::vector<std::string>& lines) override {
        log_.push_back("read " + path);
        auto found = files.find(path);
        if (found == files.end()) {
            return false;
        }
        lines = found->second;
        return true;
    }
    std::string ProgramFolder() override { return kProgramFolder; }
    bool FileExists(const std::string& path) override {
        log_.push_back("exists " + path);
        return existing.count(path) != 0;
    }
    std::string DocumentsFolder() override {
        log_.push_back("documents");
        return documents;
    }

    std::string displayIcon = "C:\\Games\\Corvane\\Corvane.exe";
    std::string version = "6.1";
    std::string user = "alice";
    bool commandsRun = true;
    std::map<std::string, std::vector<std::string>> files;
    std::set<std::string> existing;
    std::string documents;

  private:
    Log& log_;
};

const char kScratch[] = "C:\\Tools\\Velkin\\usr.tmp";

struct Outcome {
    HostState state;
    std::string settingsPath;
    std::string marker;
    std::vector<std::string> messages;
    bool scratchLeft = false;  // usr.tmp still there at the end
    Log log;
};

struct Scenario {
    std::string displayIcon = "C:\\Games\\Corvane\\Corvane.exe";
    std::string version = "6.1";
    std::string user = "alice";
    std::set<std::string> existing;
    std::string documents;
    bool answer = true;
    bool commandsRun = true;
    std::optional<std::vector<std::string>> scratch;  // usr.tmp before the start
};

Outcome RunScenario(const Scenario& setup) {
    Outcome outcome;
    FakeUi ui(outcome.log);
    FakeMachine machine(outcome.log);
    ui.answer = setup.answer;
    machine.displayIcon = setup.displayIcon;
    machine.version = setup.version;
    machine.user = setup.user;
    machine.existing = setup.existing;
    machine.documents = setup.documents;
    machine.commandsRun = setup.commandsRun;
    if (setup.scratch) {
        machine.files[kScratch] = *setup.scratch;
    }
    RunStartup(outcome.state, outcome.settingsPath, ui, machine);
    outcome.marker = ui.marker;
    outcome.messages = ui.messages;
    outcome.scratchLeft = machine.files.count(kScratch) != 0;
    EXPECT_EQ("Velkin - Corvane Advanced Config Tool v0.2.1", ui.title);
    return outcome;
}

std::string UsersFile(const std::string& user) {
    return "C:\\Users\\" + user + "\\Documents\\Corvane\\Environment.cfg";
}
std::string XpFile(const std::string& user) {
    return "C:\\Documents and Settings\\" + user + "\\My Documents\\Corvane\\Environment.cfg";
}
const char kUsersFolder[] = "C:\\Users\\alice\\Documents\\Corvane";
const char kXpFolder[] = "C:\\Documents and Settings\\alice\\My Documents\\Corvane";

void ExpectFound(const Outcome& got, const std::string& folder, const std::string& what) {
    EXPECT_EQ(folder, got.settingsPath) << what;
    EXPECT_EQ("Set.", got.marker) << what;
    ASSERT_EQ(1u, got.messages.size()) << what;
    EXPECT_EQ(kFound, got.messages[0]) << what;
}

void ExpectNotFound(const Outcome& got, const std::string& settingsPath, const std::string& what) {
    EXPECT_EQ(settingsPath, got.settingsPath) << what;
    EXPECT_EQ("NOT Set.", got.marker) << what;
    EXPECT_TRUE(got.messages.empty())
        << what << ": expected no message, got \"" << got.messages[0] << "\"";
}

TEST(RunStartup, VersionTextChoosesTheLayout) {
    const struct {
        const char* version;
        bool xp;
    } cases[] = {
        {"5.1", true},   {"5.0", false},   {"5.2", false}, {"6.1", false},  {"6.3", false},
        {"10.0", false}, {"Error", false}, {"", false},    {"5.1 ", false}, {"5.10", false},
    };
    for (const auto& c : cases) {
        Scenario setup;
        setup.version = c.version;
        setup.existing = {UsersFile("alice"), XpFile("alice")};
        ExpectFound(RunScenario(setup), c.xp ? kXpFolder : kUsersFolder,
                    std::string("version \"") + c.version + "\"");
    }
}

TEST(RunStartup, NothingFoundLeavesEmptyOrOne) {
    const struct {
        const char* version;
        const char* file;  // present, but not where this version looks
        const char* settingsPath;
    } cases[] = {
        {"5.1", "", ""},
        {"5.1", "C:\\Users\\alice\\Documents\\Corvane\\Environment.cfg", ""},
        {"6.1", "", "1"},
        {"6.1", "C:\\Documents and Settings\\alice\\My Documents\\Corvane\\Environment.cfg", "1"},
        {"10.0", "C:\\Users\\alice\\Documents\\Corvane", "1"},
    };
    for (const auto& c : cases) {
        Scenario setup;
        setup.version = c.version;
        setup.existing = {c.file};
        ExpectNotFound(RunScenario(setup), c.settingsPath,
                       std::string("version ") + c.version + ", file \"" + c.file + "\"");
    }
}

TEST(RunStartup, UserNameIsTheWholeLastLine) {
    const struct {
        const char* user;
        const char* folder;
    } cases[] = {
        {"alice", "C:\\Users\\alice\\Documents\\Corvane"},
        {"John Smith", "C:\\Users\\John Smith\\Documents\\Corvane"},
        {"A B C", "C:\\Users\\A B C\\Documents\\Corvane"},
    };
    for (const auto& c : cases) {
        Scenario setup;
        setup.user = c.user;
        setup.existing = {UsersFile(c.user)};
        const Outcome got = RunScenario(setup);
        EXPECT_EQ(c.user, got.state.UserName);
        ExpectFound(got, c.folder, c.user);
    }
}

TEST(RunStartup, UserNameIsTheLastLineOfTheScratchFile) {
    using Lines = std::vector<std::string>;
    const struct {
        const char* what;
        std::optional<Lines> scratch;
        bool commandsRun;
        const char* userName;
        const char* settingsPath;
    } cases[] = {
        {"stale lines before the new one", Lines{"olduser ", "other  "}, true, "alice",
         kUsersFolder},
        {"trailing empty lines are passed over", Lines{"bob ", "", "   "}, false, "bob",
         "C:\\Users\\bob\\Documents\\Corvane"},
        {"empty file", Lines{}, false, "", "1"},
        {"no file", std::nullopt, false, "", "1"},
    };
    for (const auto& c : cases) {
        Scenario setup;
        setup.scratch = c.scratch;
        setup.commandsRun = c.commandsRun;
        setup.existing = {UsersFile("alice"), UsersFile("olduser"), UsersFile("other"),
                          UsersFile("bob")};
        const Outcome got = RunScenario(setup);
        EXPECT_EQ(c.userName, got.state.UserName) << c.what;
        EXPECT_EQ(c.settingsPath, got.settingsPath) << c.what;
        // Only a delete that ran removes the file.
        const bool left = c.scratch.has_value() && !c.commandsRun;
        EXPECT_EQ(left, got.scratchLeft) << c.what << ": usr.tmp left behind";
    }
}

TEST(RunStartup, DocumentsFolderIsTriedAfterTheLayout) {
    const struct {
        const char* what;
        const char* version;
        const char* documents;
        std::set<std::string> existing;
        const char* settingsPath;  // "" or "1": not found
    } cases[] = {
        {"found in Documents",
         "6.1",
         "D:\\Docs",
         {"D:\\Docs\\Corvane\\Environment.cfg"},
         "D:\\Docs\\Corvane"},
        {"found in Documents on XP",
         "5.1",
         "D:\\Docs",
         {"D:\\Docs\\Corvane\\Environment.cfg"},
         "D:\\Docs\\Corvane"},
        {"Documents is a drive's root",
         "6.1",
         "D:\\",
         {"D:\\Corvane\\Environment.cfg"},
         "D:\\Corvane"},
        {"the layout comes first",
         "6.1",
         "D:\\Docs",
         {"D:\\Docs\\Corvane\\Environment.cfg", UsersFile("alice")},
         kUsersFolder},
        {"the XP layout comes first",
         "5.1",
         "D:\\Docs",
         {"D:\\Docs\\Corvane\\Environment.cfg", XpFile("alice")},
         kXpFolder},
        {"not in Documents either", "6.1", "D:\\Docs", {}, "1"},
        {"not in Documents either on XP", "5.1", "D:\\Docs", {}, ""},
        {"Documents unknown", "6.1", "", {"\\Corvane\\Environment.cfg"}, "1"},
        {"a folder named like the file", "6.1", "D:\\Docs", {"D:\\Docs\\Corvane"}, "1"},
    };
    for (const auto& c : cases) {
        Scenario setup;
        setup.version = c.version;
        setup.documents = c.documents;
        setup.existing = c.existing;
        const Outcome got = RunScenario(setup);
        if (std::string(c.settingsPath).size() > 1) {
            ExpectFound(got, c.settingsPath, c.what);
        } else {
            ExpectNotFound(got, c.settingsPath, c.what);
        }
    }
}

TEST(RunStartup, FailedExistenceTestIsNotFound) {
    // The fake answers false for every path, as the machine does when the test itself fails.
    for (const char* version : {"5.1", "6.1"}) {
        Scenario setup;
        setup.version = version;
        setup.documents = "D:\\Docs";
        const Outcome got = RunScenario(setup);
        ExpectNotFound(got, std::string(version) == "5.1" ? "" : "1", version);
    }
}

TEST(RunStartup, AnswerNoSkipsDetection) {
    for (const char* version : {"5.1", "6.1"}) {
        Scenario setup;
        setup.answer = false;
        setup.version = version;
        setup.existing = {UsersFile("alice"), XpFile("alice")};
        const Outcome got = RunScenario(setup);
        ExpectNotFound(got, "1", version);
        EXPECT_EQ("", got.state.UserName);
        const Log expected = {
            "registry DisplayIcon",
            "registry CurrentVersion",
            std::string("ask ") + kQuestion,
            "title Velkin - Corvane Advanced Config Tool v0.2.1",
            std::string("start ") + kDelete + " in " + kProgramFolder,
        };
        EXPECT_EQ(expected, got.log) << version;
    }
}

TEST(RunStartup, StepsRunInOrder) {
    Scenario setup;
    setup.documents = "D:\\Docs";
    setup.existing = {"D:\\Docs\\Corvane\\Environment.cfg"};
    const Outcome got = RunScenario(setup);
    const Log expected = {
        "registry DisplayIcon",
        "registry CurrentVersion",
        std::string("ask ") + kQuestion,
        "title Velkin - Corvane Advanced Config Tool v0.2.1",
        std::string("start ") + kEcho + " in " + kProgramFolder,
        "sleep 2000",
        std::string("read ") + kProgramFolder + "\\usr.tmp",
        "sleep 500",
        "exists " + UsersFile("alice"),
        "documents",
        "exists D:\\Docs\\Corvane\\Environment.cfg",
        std::string("message ") + kFound,
        "marker Set.",
        std::string("start ") + kDelete + " in " + kProgramFolder,
    };
    EXPECT_EQ(expected, got.log);
}

TEST(RunStartup, StoresTheRegistryTextsCutAtTheirFirstZero) {
    const std::string nul(1, '\0');
    const struct {
        std::string displayIcon;
        std::string version;
        std::string gamePath;
        std::string windowsVersion;
    } cases[] = {
        {"C:\\Games\\Corvane.exe", "6.1", "C:\\Games\\Corvane.exe", "6.1"},
        {"C:\\Games\\Corvane.exe" + nul + "junk", "5.1" + nul, "C:\\Games\\Corvane.exe", "5.1"},
        {"Error", "Error", "Error", "Error"},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        Scenario setup;
        setup.displayIcon = c.displayIcon;
        setup.version = c.version;
        const Outcome got = RunScenario(setup);
        EXPECT_EQ(c.gamePath, got.state.GamePath);
        EXPECT_EQ(c.windowsVersion, got.state.WindowsVersion);
        EXPECT_EQ("v0.2.1", got.state.VersionText);
    }
}

}  // namespace
}  // namespace velkin
