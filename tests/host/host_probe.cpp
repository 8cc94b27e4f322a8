// Runs the host's real registry reader, start-up and launcher on the machine it is started on.
// run-wine-host-tests.sh prepares the registry and the folders, then calls one check at a time:
//   host_probe registry <DisplayIcon> <CurrentVersion>
//   host_probe startup <settings folder> <user name>
//   host_probe launch <game path>
//   host_probe launch-fails <game path>
// Each prints what it expected and what came, and exits with 0 only when everything matched.
#include <cstdio>
#include <string>
#include <vector>

#include "launcher.h"
#include "registry.h"
#include "startup.h"

namespace velkin {
namespace {

const char kUninstallKey[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane_is1";
const char kWindowsKey[] = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion";
const char kFound[] = "Settings path auto-detected :) Click Set Environment.cfg to detect values.";

class Checker {
  public:
    void Expect(const char* what, const std::string& expected, const std::string& got) {
        if (expected == got) {
            std::printf("ok   %s: %s\n", what, Visible(got).c_str());
        } else {
            std::printf("FAIL %s: expected \"%s\", got \"%s\"\n", what, Visible(expected).c_str(),
                        Visible(got).c_str());
            failed_ = true;
        }
    }
    int ExitCode() const { return failed_ ? 1 : 0; }

  private:
    static std::string Visible(const std::string& text) {
        std::string shown;
        for (const char c : text) {
            if (c == '\r') {
                shown += "\\r";
            } else if (c == '\n') {
                shown += "\\n";
            } else if (c == '\0') {
                shown += "\\0";
            } else {
                shown += c;
            }
        }
        return shown;
    }
    bool failed_ = false;
};

class Messages : public General::FormatReport, public StartupUi, public LaunchUi {
  public:
    void ShowMessage(const std::string& text) override { shown.push_back(text); }
    bool AskYesNo(const std::string&) override { return true; }
    void SetTitle(const std::string& text) override { title = text; }
    void SetMarker(const std::string& caption) override { marker = caption; }
    void ShowError(const std::string& text) override { shown.push_back(text); }

    std::vector<std::string> shown;
    std::string title;
    std::string marker = "NOT Set.";
};

std::string Joined(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts) {
        joined += (joined.empty() ? "" : " | ") + text;
    }
    return joined;
}

int CheckRegistry(const std::string& displayIcon, const std::string& version) {
    Checker check;
    Messages messages;
    auto machine = MakeNativeStartupMachine(messages);
    check.Expect("DisplayIcon", displayIcon,
                 machine->ReadRegistryString(kUninstallKey, "DisplayIcon"));
    check.Expect("CurrentVersion", version,
                 machine->ReadRegistryString(kWindowsKey, "CurrentVersion"));
    check.Expect("missing value", "Error", machine->ReadRegistryString(kWindowsKey, "NoSuchValue"));
    check.Expect("missing key", "Error",
                 machine->ReadRegistryString("HKEY_LOCAL_MACHINE\\Software\\NoSuchKey", "X"));
    check.Expect("messages", "", Joined(messages.shown));
    return check.ExitCode();
}

int CheckStartup(const std::string& settingsFolder, const std::string& userName) {
    Checker check;
    Messages messages;
    auto machine = MakeNativeStartupMachine(messages);
    HostState state;
    std::string settingsPath;
    RunStartup(state, settingsPath, messages, *machine);
    check.Expect("UserName", userName, state.UserName);
    check.Expect("SettingsPath", settingsFolder, settingsPath);
    check.Expect("marker", "Set.", messages.marker);
    check.Expect("messages", kFound, Joined(messages.shown));
    check.Expect("title", "Velkin - Corvane Advanced Config Tool v0.2.1", messages.title);
    return check.ExitCode();
}

int CheckLaunch(const std::string& gamePath) {
    Checker check;
    Messages messages;
    auto starter = MakeNativeProgramStarter();
    LaunchGame(gamePath, *starter, messages);
    check.Expect("messages", "", Joined(messages.shown));
    return check.ExitCode();
}

int CheckLaunchFails(const std::string& gamePath) {
    Checker check;
    Messages messages;
    auto starter = MakeNativeProgramStarter();
    LaunchGame(gamePath, *starter, messages);
    const std::string head = "Could not start " + gamePath + ":\r\n";
    const std::string shown = Joined(messages.shown);
    check.Expect("message head", head, shown.substr(0, head.size()));
    const bool hasReason = shown.size() > head.size();
    check.Expect("reason given", "yes", hasReason ? "yes" : "no");
    return check.ExitCode();
}

}  // namespace
}  // namespace velkin

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "registry") {
        return velkin::CheckRegistry(args[1], args[2]);
    }
    if (args.size() == 3 && args[0] == "startup") {
        return velkin::CheckStartup(args[1], args[2]);
    }
    if (args.size() == 2 && args[0] == "launch") {
        return velkin::CheckLaunch(args[1]);
    }
    if (args.size() == 2 && args[0] == "launch-fails") {
        return velkin::CheckLaunchFails(args[1]);
    }
    std::fprintf(stderr, "usage: host_probe registry|startup|launch|launch-fails ...\n");
    return 2;
}
