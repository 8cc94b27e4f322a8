// Stands in for the game, and for programs that must never run (a decoy, a planted cmd.exe).
// Each start appends a line to launch-record.txt beside it, of tab-separated fields: its path,
// command line, working folder, STARTF_USESHOWWINDOW, the show state asked for and whether its
// window came up maximised. Built with VELKIN_DEMO_GAME it is the demo's Corvane.exe, which
// keeps its window open.
#include <windows.h>

#include <string>

LRESULT CALLBACK StubProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int cmdShow) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = StubProc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "CorvaneStandIn";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowA("CorvaneStandIn", "Corvane (demo stand-in), started by Velkin",
                              WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr,
                              nullptr, instance, nullptr);
    ShowWindow(hwnd, cmdShow);  // the show state that the starter asked for

    STARTUPINFOA si{};
    si.cb = sizeof si;
    GetStartupInfoA(&si);
    char own[MAX_PATH * 2] = {}, folder[MAX_PATH * 2] = {};
    GetModuleFileNameA(nullptr, own, sizeof own);
    GetCurrentDirectoryA(sizeof folder, folder);
    std::string line = std::string(own) + "\t" + GetCommandLineA() + "\t" + folder + "\t" +
                       ((si.dwFlags & STARTF_USESHOWWINDOW) ? "1" : "0") + "\t" +
                       std::to_string(si.wShowWindow) + "\t" + (IsZoomed(hwnd) ? "1" : "0") +
                       "\r\n";
    std::string record = own;
    record = record.substr(0, record.find_last_of('\\') + 1) + "launch-record.txt";
    // Appending keeps the lines of two starts at once whole.
    HANDLE file = CreateFileA(record.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, line.data(), DWORD(line.size()), &written, nullptr);
    CloseHandle(file);
#ifdef VELKIN_DEMO_GAME
    for (MSG msg; GetMessageA(&msg, nullptr, 0, 0) > 0;) {
        DispatchMessageA(&msg);
    }
#endif
    return 0;
}
