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

bool failed = false;

void Expect(const char* what, const std::string& expected, const std::string& got) {
    std::string shown;  // line ends made visible
    for (const char c : got) {
        shown += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
    }
    if (expected == got) {
        std::printf("ok   %s: %s\n", what, shown.c_str());
    } else {
        std::printf("FAIL %s: expected \"%s\", got \"%s\"\n", what, expected.c_str(),
                    shown.c_str());
        failed = true;
    }
}

// Every box, joined by " | ".
struct Messages : General::FormatReport, StartupUi, LaunchUi {
    void ShowMessage(const std::string& text) override {
        shown += (shown.empty() ? "" : " | ") + text;
    }
    void ShowError(const std::string& text) override { ShowMessage(text); }
    bool AskYesNo(const std::string&) override { return true; }
    void SetTitle(const std::string&) override {}
    void SetMarker(const std::string& caption) override { marker = caption; }
    std::string shown, marker;
};

void Run(const std::vector<std::string>& args) {
    Messages messages;
    const std::string& what = args[0];
    if (what == "registry") {
        auto machine = MakeNativeStartupMachine(messages);
        const char kWindows[] =
            "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion";
        Expect("DisplayIcon", args[1],
               machine->ReadRegistryString("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\"
                                           "CurrentVersion\\Uninstall\\Corvane_is1",
                                           "DisplayIcon"));
        Expect("CurrentVersion", args[2], machine->ReadRegistryString(kWindows, "CurrentVersion"));
        Expect("missing value", "Error", machine->ReadRegistryString(kWindows, "NoSuchValue"));
        Expect("missing key", "Error",
               machine->ReadRegistryString("HKEY_LOCAL_MACHINE\\Software\\NoSuchKey", "X"));
    } else if (what == "startup") {
        auto machine = MakeNativeStartupMachine(messages);
        HostState state;
        std::string settingsPath;
        RunStartup(state, settingsPath, messages, *machine);
        Expect("UserName", args[2], state.UserName);
        Expect("SettingsPath", args[1], settingsPath);
        Expect("marker", "Set.", messages.marker);
        Expect("message",
               "Settings path auto-detected :) Click Set Environment.cfg to detect values.",
               messages.shown);
        messages.shown.clear();
    } else {
        LaunchGame(args[1], *MakeNativeProgramStarter(), messages);
        if (what == "launch-fails") {
            const std::string head = "Could not start " + args[1] + ":\r\n";
            Expect("message", head + "<the system's reason>",
                   messages.shown.size() > head.size() &&
                           messages.shown.compare(0, head.size(), head) == 0
                       ? head + "<the system's reason>"
                       : messages.shown);
            messages.shown.clear();
        }
    }
    Expect("other messages", "", messages.shown);
}

}  // namespace
}  // namespace velkin

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const bool known = (args.size() == 3 && (args[0] == "registry" || args[0] == "startup")) ||
                       (args.size() == 2 && (args[0] == "launch" || args[0] == "launch-fails"));
    if (!known) {
        std::fprintf(stderr, "usage: host_probe registry|startup|launch|launch-fails ...\n");
        return 2;
    }
    velkin::Run(args);
    return velkin::failed ? 1 : 0;
}
