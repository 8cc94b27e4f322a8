// The demo's driver: starts Velkin as a player would, answers Yes, reads the demo settings and
// leaves Velkin running with its window painted, ready for a screenshot.
//   velkin_demo <Velkin.exe>
#include "tests/harness/harness.h"

#include <shellapi.h>

#include <cstdio>

#include "window/ids.h"

int main() {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args == nullptr || count != 2) {
        std::fprintf(stderr, "usage: velkin_demo <Velkin.exe>\n");
        return 2;
    }
    const std::string exe = velkin::Utf8(args[1]);
    try {
        e2e::Program velkin(exe, exe.substr(0, exe.rfind('\\')));
        // The question, then "Settings path auto-detected".
        for (int button : {IDYES, IDOK}) {
            HWND box = nullptr;
            velkin.WaitFor("a box", [&] { return (box = velkin.Find(e2e::kBoxClass)) != nullptr; });
            velkin.Press(box, button);
        }
        HWND main = nullptr;
        velkin.WaitFor("the main window",
                       [&] { return (main = velkin.Find(velkin::kMainWindowClass)) != nullptr; });
        const std::future<LRESULT> read =
            velkin.Send(GetDlgItem(main, velkin::kCommand1), BM_CLICK);
        velkin.Until("the settings read and the window painted",
                     [&] { return e2e::Done(read) && e2e::Painted(main); });
        velkin.process = nullptr;  // forgotten, so that it is left running
    } catch (const std::exception& e) {
        std::printf("demo: %s\n", e.what());
        return 1;
    }
    std::printf("demo: Velkin left running\n");
    return 0;
}
