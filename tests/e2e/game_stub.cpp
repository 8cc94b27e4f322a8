// Stands in for the game, and for programs that must never run (a decoy, a planted cmd.exe).
// Each start appends a line to C:\e2e\starts.record, in UTF-8, of tab-separated fields: its
// path, command line, working folder and whether its window came up maximised. Built with
// VELKIN_DEMO_GAME it is the demo's Corvane.exe, which keeps its window open.
#include <windows.h>

#include <string>

#include "win32/text.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int cmdShow) {
    HWND hwnd = CreateWindowW(L"STATIC", L"Corvane stand-in", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 640, 480, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(hwnd, cmdShow);  // the show state that the starter asked for
    wchar_t own[1024] = {}, folder[1024] = {};
    GetModuleFileNameW(nullptr, own, 1024);
    GetCurrentDirectoryW(1024, folder);
    const std::string line = velkin::Utf8(std::wstring(own) + L"\t" + GetCommandLineW() + L"\t" +
                                          folder + L"\t" + (IsZoomed(hwnd) ? L"1" : L"0")) +
                             "\r\n";
    HANDLE record = CreateFileW(L"C:\\e2e\\starts.record", FILE_APPEND_DATA, FILE_SHARE_READ,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(record, line.data(), DWORD(line.size()), &written, nullptr);
    CloseHandle(record);
#ifdef VELKIN_DEMO_GAME
    for (MSG msg; IsWindow(hwnd) && GetMessageW(&msg, nullptr, 0, 0) > 0;) {
        DispatchMessageW(&msg);
    }
#endif
    return 0;
}
