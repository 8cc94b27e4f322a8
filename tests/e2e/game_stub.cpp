// Stands in for the game's program. Each start appends one line to launch-record.txt beside
// the program: its own path, command line, working folder, requested show state and whether
// its window really came up maximised. The end-to-end tests read that line back.
// Built with VELKIN_DEMO_GAME it is the demo's Corvane.exe: it also keeps its window open.
#include <windows.h>

#include <string>

namespace {

class FileHandle {
  public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() {
        if (h_ != INVALID_HANDLE_VALUE) {
            CloseHandle(h_);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return h_; }

  private:
    HANDLE h_;
};

std::string OwnPath() {
    char buf[MAX_PATH * 2] = {};
    DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
    return std::string(buf, n);
}

std::string CurrentFolder() {
    char buf[MAX_PATH * 2] = {};
    DWORD n = GetCurrentDirectoryA(sizeof buf, buf);
    return std::string(buf, n < sizeof buf ? n : 0);
}

void AppendRecord(const std::string& line) {
    std::string own = OwnPath();
    std::string record = own.substr(0, own.find_last_of('\\') + 1) + "launch-record.txt";
    // Two instances may start at once; appending keeps both lines whole.
    FileHandle file(CreateFileA(record.c_str(), FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

LRESULT CALLBACK StubProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        static const char kText[] = "Corvane (demo stand-in), started by Velkin";
        TextOutA(dc, 20, 20, kText, sizeof kText - 1);
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int cmdShow) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    GetStartupInfoA(&si);

    WNDCLASSA wc{};
    wc.lpfnWndProc = StubProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "CorvaneStandIn";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowA("CorvaneStandIn", "Corvane", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance, nullptr);
    // cmdShow carries the show state that the starting program asked for (Wine's
    // SW_SHOWDEFAULT does not look at it).
    ShowWindow(hwnd, cmdShow);
    bool zoomed = hwnd != nullptr && IsZoomed(hwnd);

    AppendRecord(OwnPath() + "\t" + GetCommandLineA() + "\t" + CurrentFolder() + "\t" +
                 ((si.dwFlags & STARTF_USESHOWWINDOW) ? "1" : "0") + "\t" +
                 std::to_string(si.wShowWindow) + "\t" + (zoomed ? "1" : "0") + "\r\n");

#ifdef VELKIN_DEMO_GAME
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
#else
    if (hwnd != nullptr) {
        DestroyWindow(hwnd);
    }
#endif
    return 0;
}
