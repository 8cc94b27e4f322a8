// Drives a program from outside, as a user would: starts it, finds its windows by polling,
// answers its boxes, clicks without blocking and reads texts through window messages. The
// end-to-end driver and the Wine benchmark both use it.
#pragma once

#include <windows.h>

#include <algorithm>
#include <deque>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace e2e {

// Velkin's automation interface: a control's ID is its kind plus its number.
constexpr int kCommand1 = 100, kCheck = 100, kText = 200, kLabel = 300;
constexpr int kBoxTextId = 0xFFFF, kInputEditId = 1000, kInputPromptId = 1001;
constexpr WPARAM kMenuLaunch = 401, kMenuSave = 402, kMenuExit = 403, kMenuAbout = 404;
const char kMainClass[] = "VelkinMainWindow", kBoxClass[] = "#32770";
constexpr double kWaitMs = 30000;  // for all that the program should do soon

struct Abort : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline void Must(bool ok, const std::string& failure) {
    if (!ok) {
        throw Abort(failure);
    }
}

inline double NowMs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

inline bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::string ReadWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<no file>";
}

inline void WriteWhole(const std::string& path, const std::string& data) {
    Must(bool(std::ofstream(path, std::ios::binary) << data), "could not write " + path);
}

inline std::string ClassOf(HWND hwnd) {
    char name[256] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

inline DWORD_PTR SendTo(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    DWORD_PTR result = 0;
    Must(SendMessageTimeoutA(hwnd, msg, wp, lp, SMTO_NORMAL, DWORD(kWaitMs), &result),
         "expected an answer to message " + std::to_string(msg) + ", got none");
    return result;
}

// Through WM_GETTEXT, which the edit controls of another process need.
inline std::string TextOf(HWND hwnd) {
    std::vector<char> buf(SendTo(hwnd, WM_GETTEXTLENGTH) + 2, '\0');
    DWORD_PTR copied = SendTo(hwnd, WM_GETTEXT, buf.size(), LPARAM(buf.data()));
    return std::string(buf.data(), std::min<std::size_t>(copied, buf.size()));
}

inline void SetText(HWND hwnd, const std::string& text) {
    Must(SendTo(hwnd, WM_SETTEXT, 0, LPARAM(text.c_str())), "could not set the text " + text);
}

// A message box, or the input box (its text then is the prompt).
struct Box {
    HWND hwnd;
    std::string title, text;
    bool input, icon;
    std::string Describe() const {
        return (input ? "input box \"" : "message box \"") + text.substr(0, 300) + "\"";
    }
};

inline BOOL CALLBACK FindIcon(HWND child, LPARAM found) {
    DWORD_PTR icon = 0;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && ClassOf(child) == "Static" &&
        SendMessageTimeoutA(child, STM_GETICON, 0, 0, SMTO_NORMAL, 5000, &icon) && icon) {
        *reinterpret_cast<bool*>(found) = true;
    }
    return TRUE;
}

inline Box ReadBox(HWND hwnd) {
    char title[512] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    bool input = GetDlgItem(hwnd, kInputPromptId) && GetDlgItem(hwnd, kInputEditId);
    HWND text = GetDlgItem(hwnd, input ? kInputPromptId : kBoxTextId);
    bool icon = false;
    EnumChildWindows(hwnd, FindIcon, LPARAM(&icon));
    return {hwnd, title, text ? TextOf(text) : "<no text control>", input, icon};
}

// Replies to messages sent without waiting land here; it outlives every program, since a
// reply may come after the test that sent it has given up.
inline std::deque<bool>& Replies() {
    static std::deque<bool> replies;
    return replies;
}

inline void CALLBACK OnReply(HWND, UINT, ULONG_PTR done, LRESULT) {
    *reinterpret_cast<bool*>(done) = true;
}

// One run of a program, ended when this goes unless detached.
class Program {
  public:
    Program(const std::string& exe, const std::string& folder) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::string commandLine = "\"" + exe + "\"";
        started = NowMs();
        Must(CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                            folder.c_str(), &si, &pi),
             "could not start " + exe + ": error " + std::to_string(GetLastError()));
        CloseHandle(pi.hThread);
        process_ = pi.hProcess;
        pid_ = pi.dwProcessId;
    }
    ~Program() {
        if (!detached && Running()) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, DWORD(kWaitMs));
        }
        CloseHandle(process_);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    HANDLE Handle() const { return process_; }
    bool Running() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    DWORD ExitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(process_, &code);
        return code;
    }

    // Polls until `ready` holds, pumping this thread's messages for the replies meanwhile.
    template <typename Ready>
    void WaitFor(const std::string& what, Ready ready, DWORD pollMs = 20) {
        for (double start = NowMs(); !ready();) {
            Must(Running(), "expected " + what + ", got the program's end (exit code " +
                                std::to_string(ExitCode()) + ")");
            Must(NowMs() - start < kWaitMs, "expected " + what + " in time, got nothing");
            MsgWaitForMultipleObjects(1, &process_, FALSE, pollMs, QS_ALLINPUT);
            for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) {
                DispatchMessageA(&msg);
            }
        }
    }

    // A top-level window of the program of class `cls`, shown or (`shownOnly` false) any.
    HWND Find(const char* cls, bool shownOnly = true) const {
        Query q{pid_, cls, shownOnly, nullptr};
        EnumWindows(Match, LPARAM(&q));
        return q.found;
    }
    HWND WaitShown(const char* cls, const std::string& what, DWORD pollMs = 20) {
        HWND found = nullptr;
        WaitFor(
            what, [&] { return (found = Find(cls)) != nullptr; }, pollMs);
        return found;
    }

    // Clicks a button of a box and waits for the box to go.
    void Press(HWND box, int button, DWORD pollMs = 20) {
        HWND b = GetDlgItem(box, button);
        Must(b, "expected button " + std::to_string(button) + " in the box, got none");
        PostMessageA(b, BM_CLICK, 0, 0);
        WaitFor(
            "the box to close", [&] { return !IsWindow(box) || !IsWindowVisible(box); }, pollMs);
    }

    // Sends without waiting for the handler, which may open a modal box; the flag turns true
    // when it has returned.
    bool& Send(HWND hwnd, UINT msg, WPARAM wp = 0) {
        bool& done = Replies().emplace_back(false);
        Must(SendMessageCallbackA(hwnd, msg, wp, 0, OnReply, ULONG_PTR(&done)),
             "could not send message " + std::to_string(msg));
        return done;
    }

    double started = 0;  // NowMs() at the start
    bool detached = false;

  private:
    struct Query {
        DWORD pid;
        const char* cls;
        bool shownOnly;
        HWND found;
    };
    static BOOL CALLBACK Match(HWND w, LPARAM param) {
        Query& q = *reinterpret_cast<Query*>(param);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == q.pid && (!q.shownOnly || IsWindowVisible(w)) && ClassOf(w) == q.cls) {
            q.found = w;
        }
        return q.found == nullptr;
    }

    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

}  // namespace e2e
