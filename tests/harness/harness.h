// Drives a program from outside, as a user would: starts it, finds its windows by polling,
// answers its boxes, clicks without blocking and reads texts through window messages. Texts are
// UTF-8 here and cross to Windows through the W functions only. The end-to-end tests (and
// through them the demo) and the Wine benchmark share it.
#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <stdexcept>
#include <string>

#include "win32/text.h"
#include "window/resource.h"

namespace e2e {

using velkin::Utf8;
using velkin::Wide;

inline constexpr wchar_t kBoxClass[] = L"#32770";
constexpr int kBoxTextId = 0xFFFF;  // a message box's text
constexpr DWORD kWaitMs = 30000;    // for all that the program should do soon

inline void Must(bool ok, const std::string& failure) {
    if (!ok) {
        throw std::runtime_error(failure);
    }
}

// Files by their UTF-16 names: a std::filesystem::path of wide text opens through _wfopen.
inline std::string ReadWhole(const std::string& path) {
    std::ifstream file(std::filesystem::path(Wide(path)), std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<no file>";
}

inline void WriteWhole(const std::string& path, const std::string& data) {
    Must(bool(std::ofstream(std::filesystem::path(Wide(path)), std::ios::binary) << data),
         "writing " + path + ": expected done, got a failure");
}

inline DWORD_PTR SendTo(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    DWORD_PTR result = 0;
    Must(SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_NORMAL, kWaitMs, &result),
         "expected an answer to message " + std::to_string(msg) + ", got none");
    return result;
}

// Through WM_GETTEXT, which the edit controls of another process need.
inline std::string TextOf(HWND hwnd) {
    std::wstring text(SendTo(hwnd, WM_GETTEXTLENGTH) + 1, L'\0');
    text.resize(SendTo(hwnd, WM_GETTEXT, text.size(), LPARAM(&text[0])));
    return Utf8(text);
}

// Sets a text and reads it back.
inline void SetText(HWND hwnd, const std::string& text) {
    SendTo(hwnd, WM_SETTEXT, 0, LPARAM(Wide(text).c_str()));
    Must(TextOf(hwnd) == text, "text set: expected \"" + text + "\", got \"" + TextOf(hwnd) + "\"");
}

// A message box's text, or the input box's prompt after "input box: ".
inline std::string BoxText(HWND box) {
    HWND prompt = GetDlgItem(box, IDC_PROMPT), text = GetDlgItem(box, kBoxTextId);
    return prompt ? "input box: " + TextOf(prompt) : text ? TextOf(text) : "<no text>";
}

// On screen as the user sees it: the window and each of its shown controls painted, nothing
// left in their update regions. A window that is merely visible may not have been drawn yet.
inline bool Painted(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) {
        return false;
    }
    for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        if (IsWindowVisible(c) && GetUpdateRect(c, nullptr, FALSE)) {
            return false;
        }
    }
    return true;
}

// Whether the handler that `sent` waits for (see Program::Send) has returned.
inline bool Done(const std::future<LRESULT>& sent) {
    return !sent.valid() || sent.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

// One run of a program, ended when this goes unless its handle has been forgotten.
struct Program {
    Program(const std::string& exe, const std::string& folder) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::wstring commandLine = L"\"" + Wide(exe) + L"\"";
        Must(CreateProcessW(Wide(exe).c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                            Wide(folder).c_str(), &si, &pi),
             "starting " + exe + ": expected done, got error " + std::to_string(GetLastError()));
        CloseHandle(pi.hThread);
        process = pi.hProcess;
        pid = pi.dwProcessId;
    }
    ~Program() {
        TerminateProcess(process, 99);  // fails harmlessly if it has ended
        WaitForSingleObject(process, kWaitMs);
        CloseHandle(process);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Polls until `ready` holds; `got` says what came instead.
    template <typename Ready>
    void WaitFor(
        const std::string& what, Ready ready,
        const std::function<std::string()>& got = [] { return "nothing"; }) {
        for (DWORD start = GetTickCount(); !ready(); WaitForSingleObject(process, pollMs)) {
            // Asked again: what it waits for may be the program's end.
            Must(WaitForSingleObject(process, 0) == WAIT_TIMEOUT || ready(),
                 "expected " + what + ", got the program's end");
            Must(GetTickCount() - start < kWaitMs, "expected " + what + " in time, got " + got());
        }
    }
    // As WaitFor, with no box of the program shown meanwhile.
    template <typename Ready>
    void Until(const std::string& what, Ready ready) {
        WaitFor(what, [&] {
            HWND box = Find(kBoxClass);
            Must(!box, what + ": expected no box first, got \"" + BoxText(box) + "\"");
            return ready();
        });
    }

    // A shown top-level window of the program of class `cls`.
    HWND Find(const wchar_t* cls) const {
        for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, cls, nullptr)) != nullptr;) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == pid && IsWindowVisible(w)) {
                return w;
            }
        }
        return nullptr;
    }

    // Clicks a button of a box and waits for the box to go.
    void Press(HWND box, int button) {
        HWND b = GetDlgItem(box, button);
        Must(b, "expected button " + std::to_string(button) + " in the box, got none");
        PostMessageW(b, BM_CLICK, 0, 0);
        WaitFor("the box to close", [&] { return !IsWindow(box) || !IsWindowVisible(box); });
    }

    // Sends from a thread of its own, since the handler may open a modal box. The future's end
    // waits for the handler to return, so it must not come before the program's end when the
    // handler may still be in a box.
    std::future<LRESULT> Send(HWND hwnd, UINT msg, WPARAM wp = 0) {
        return std::async(std::launch::async, SendMessageW, hwnd, msg, wp, 0);
    }

    HANDLE process = nullptr;
    DWORD pid = 0;
    DWORD pollMs = 20;
};

}  // namespace e2e
