// Runs the host's real start-up and launcher on the machine it is started on.
// run-wine-host-tests.sh prepares the registry and the folders, then calls one check at a time:
//   host_probe startup <settings folder> [user name]   (a user name of "*" means José)
//   host_probe launch-fails <game path> <reason>
// Each prints what it expected and what came, and exits with 0 only when everything matched.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "fakes.h"
#include "launcher.h"
#include "startup.h"

namespace velkin::test {
namespace {

bool failed = false;

void Expect(const char* what, const std::string& expected, const std::string& got) {
    std::printf(expected == got ? "ok   %s: %s\n" : "FAIL %s: expected \"%s\", got \"%s\"\n", what,
                expected == got ? got.c_str() : expected.c_str(), got.c_str());
    failed = failed || expected != got;
}

// A name outside ASCII, in this system's ANSI code page.
std::string Jose() {
    char name[16] = {};
    WideCharToMultiByte(CP_ACP, 0, L"Jos\u00e9", -1, name, sizeof name, nullptr, nullptr);
    return name;
}

void Run(const std::vector<std::string>& args) {
    FakeView view;
    const std::string& what = args[0];
    if (what == "startup") {
        std::string folder = args[1];
        if (args.size() > 2) {
            // The name as the environment gives it, in the ANSI code page, finds its folder.
            const std::string user = Jose();
            folder = "C:\\Users\\" + user + "\\Documents\\Corvane";
            for (const std::string& part :
                 {"C:\\Users\\" + user, "C:\\Users\\" + user + "\\Documents", folder}) {
                CreateDirectoryA(part.c_str(), nullptr);
            }
            CloseHandle(CreateFileA((folder + "\\Environment.cfg").c_str(), GENERIC_WRITE, 0,
                                    nullptr, CREATE_ALWAYS, 0, nullptr));
            SetEnvironmentVariableA("USERNAME", user.c_str());
        }
        HostState state;
        std::string settingsPath;
        RunStartup(state, settingsPath, view, *MakeNativeStartupMachine(view));
        Expect("SettingsPath", folder, settingsPath);
        Expect("marker", "Set.", view.marker);
        // the question, and the folder found
        view.boxes.erase(view.boxes.begin(),
                         view.boxes.begin() + std::min<std::size_t>(2, view.boxes.size()));
    } else {
        LaunchGame(args[1], view);
        Expect("message", "[error] " + StartFailure(args[1], args[2]),
               view.boxes.empty() ? "" : view.boxes[0]);
        view.boxes.clear();
    }
    Expect("other messages", "", view.boxes.empty() ? "" : view.boxes[0]);
}

}  // namespace
}  // namespace velkin::test

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: host_probe startup|launch-fails ...\n");
        return 2;
    }
    velkin::test::Run(args);
    return velkin::test::failed ? 1 : 0;
}
