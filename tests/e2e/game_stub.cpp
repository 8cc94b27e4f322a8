// Stands in for the game, and for programs that must never run (a decoy, a planted cmd.exe).
// Each start appends a line to a record beside it, named after it with ".record" added, of
// tab-separated fields: its path, command line, working folder and whether its window came up
// maximised. Built with VELKIN_DEMO_GAME it is the demo's Corvane.exe, which keeps its window
// open.
#include <windows.h>

#include <fstream>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int cmdShow) {
    HWND hwnd = CreateWindowA("STATIC", "Corvane stand-in", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 640, 480, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(hwnd, cmdShow);  // the show state that the starter asked for
    char own[MAX_PATH * 2] = {}, folder[MAX_PATH * 2] = {};
    GetModuleFileNameA(nullptr, own, sizeof own);
    GetCurrentDirectoryA(sizeof folder, folder);
    std::ofstream(std::string(own) + ".record", std::ios::app | std::ios::binary)
        << own << "\t" << GetCommandLineA() << "\t" << folder << "\t" << IsZoomed(hwnd) << "\r\n";
#ifdef VELKIN_DEMO_GAME
    for (MSG msg; IsWindow(hwnd) && GetMessageA(&msg, nullptr, 0, 0) > 0;) {
        DispatchMessageA(&msg);
    }
#endif
    return 0;
}
