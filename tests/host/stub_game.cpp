// Stands in for the game: writes how it was started to launch-record.txt beside itself.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string record = module;
    record = record.substr(0, record.rfind('\\')) + "\\launch-record.txt";

    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : -1;

    FILE* out = std::fopen(record.c_str(), "wb");
    if (out == nullptr) {
        return 1;
    }
    std::fprintf(out, "command=%s\nfolder=%s\nshow=%d\n", GetCommandLineA(), folder, show);
    std::fclose(out);
    return 0;
}
