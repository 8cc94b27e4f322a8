// End-to-end tests of Velkin.exe. Each case starts the real program, answers its boxes and
// works its controls from outside through window messages, as a user would, then checks the
// window and the files on disk. Runs under Wine in a throwaway prefix (see run-e2e.sh).
//
//   velkin_e2e <Velkin.exe> <golden folder> [case name part]   runs the cases
//   velkin_e2e --demo <Velkin.exe>       starts Velkin, answers Yes, reads, leaves it running
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr DWORD kWaitMs = 30000;  // for anything the program should do soon
constexpr DWORD kPollMs = 20;
constexpr UINT kSendMs = 10000;

// The program's automation interface.
const char kMainClass[] = "VelkinMainWindow";
constexpr int kCommand1 = 100;
constexpr int CheckId(int n) {
    return 100 + n;
}
constexpr int TextId(int n) {
    return 200 + n;
}
constexpr int LabelId(int n) {
    return 300 + n;
}
constexpr WPARAM kMenuLaunch = 401;
constexpr WPARAM kMenuSave = 402;
constexpr WPARAM kMenuExit = 403;
constexpr WPARAM kMenuAbout = 404;
constexpr int kBoxTextId = 0xFFFF;
constexpr int kInputEditId = 1000;
constexpr int kInputPromptId = 1001;

const char kTitle[] = "Velkin - Corvane Advanced Config Tool v0.2.1";
const char kBoxTitlePrefix[] = "Velkin by ";
const char kQuestion[] = "Would you like to try and automatically detect settings path?";
const char kDetected[] =
    "Settings path auto-detected :) Click Set Environment.cfg to detect values.";
const char kPrompt[] =
    "Enter the full path to you Environment.cfg file. Usually in "
    "C:\\Users\\%USERNAME%\\Documents\\Corvane on Vista\\Win7 C:\\Documents and "
    "Settings\\%USERNAME%\\My Documents\\Corvane on Windows XP. Do not enter trailing \\!";
const char kBackupBox[] = "Creating Backup of Current Settings to Environment.cf0";
const char kGenerated[] = "Config file generated! Press OK to write Environment.cfg!";
const char kWritten[] = "Environment.cfg written successfully!";
const char kNothingToSave[] =
    "Nothing to save yet: no settings file has been read. Click Environment.cfg to read your "
    "settings first.";
const char kClipboardBox[] = "BitCoin address now in clipboard! Ctrl+V to paste.";
const char kSet[] = "Set.";
const char kNotSet[] = "NOT Set.";

// The managed keys, to work out what a read must show.
struct SwitchKey {
    const char* key;
    int check;
};
constexpr SwitchKey kSwitches[] = {
    {"SND_ENABLE", 1},         {"SHOW_DEVELOPMENT", 2},
    {"SHOW_CONFIDENTIAL", 3},  {"SKIPINTRO", 4},
    {"R_DYNAMICLOADMIPS", 5},  {"VID_VSYNC", 6},
    {"VID_FULLSCREEN", 7},     {"VID_FULLSCREEN_WINDOWED_TOGGLE_ENABLED", 8},
    {"FORCESPECTATOR", 9},     {"XR_FOG", 10},
    {"XR_MOTIONBLUR_DOF", 11}, {"XR_FLARES", 12},
    {"XR_GRAIN", 13},
};
struct ValueKey {
    const char* literal;
    int text;
};
constexpr ValueKey kValues[] = {
    {"VID_DWIDTH=", 1},      {"VID_DHEIGHT=", 2},      {"MAXTEXTUREQUALITY=", 3},
    {"R_ANTIALIAS=", 4},     {"R_ANISOTROPY=", 5},     {"VID_GAMMA=", 6},
    {"VID_GAMMARAMP=", 7},   {"XR_LOD=", 8},           {"XR_LODOFFSET=", 9},
    {"XR_LODSCALE=", 10},    {"XR_SHADERMODE=", 11},   {"VID_BRIGHTNESS=", 12},
    {"VID_BLACKLEVEL=", 13}, {"VID_PIXELASPECT=", 14},
};

// ---------------------------------------------------------------------------------------------
// Text helpers

std::string Quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s.size() > 400 ? s.substr(0, 400) : s) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '"') {
            out += "\\\"";
        } else {
            out += c;
        }
    }
    return out + (s.size() > 400 ? "\"..." : "\"");
}

std::string Lower(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return s;
}

bool StartsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

std::vector<std::string> Split(const std::string& s, const std::string& sep) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (;;) {
        std::size_t at = s.find(sep, from);
        parts.push_back(s.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos) {
            return parts;
        }
        from = at + sep.size();
    }
}

std::string ControlName(int id) {
    if (id == kCommand1) {
        return "Command1";
    }
    if (id > 100 && id < 200) {
        return "Check" + std::to_string(id - 100);
    }
    if (id > 200 && id < 300) {
        return "Text" + std::to_string(id - 200);
    }
    if (id > 300 && id < 400) {
        return "Label" + std::to_string(id - 300);
    }
    return "control " + std::to_string(id);
}

std::string LastErrorText() {
    DWORD code = GetLastError();
    char* text = nullptr;
    FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string out = text ? text : "error " + std::to_string(code);
    LocalFree(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) {
        out.pop_back();
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Outcome of one case

struct CaseAbort : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Outcome {
  public:
    void Fail(const std::string& message) { failures_.push_back(message); }
    [[noreturn]] void Abort(const std::string& message) { throw CaseAbort(message); }
    void Expect(bool ok, const std::string& message) {
        if (!ok) {
            Fail(message);
        }
    }
    void Equal(const std::string& what, const std::string& expected, const std::string& got) {
        if (expected != got) {
            Fail(what + ": expected " + Quote(expected) + ", got " + Quote(got));
        }
    }
    void Equal(const std::string& what, long long expected, long long got) {
        if (expected != got) {
            Fail(what + ": expected " + std::to_string(expected) + ", got " + std::to_string(got));
        }
    }
    const std::vector<std::string>& failures() const { return failures_; }

  private:
    std::vector<std::string> failures_;
};

// ---------------------------------------------------------------------------------------------
// Files and registry

class Handle {
  public:
    explicit Handle(HANDLE h = nullptr) : h_(h) {}
    ~Handle() { Reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
    void Reset(HANDLE h = nullptr) {
        if (valid()) {
            CloseHandle(h_);
        }
        h_ = h;
    }

  private:
    HANDLE h_;
};

class RegKey {
  public:
    RegKey() = default;
    ~RegKey() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ReadWhole(const std::string& path, std::string& out) {
    Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return false;
    }
    out.clear();
    char buf[8192];
    DWORD got = 0;
    while (ReadFile(file.get(), buf, sizeof buf, &got, nullptr) && got > 0) {
        out.append(buf, got);
    }
    return true;
}

void WriteWhole(const std::string& path, const std::string& data) {
    Handle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file.valid() ||
        !WriteFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr) ||
        written != data.size()) {
        throw CaseAbort("could not write " + path + ": " + LastErrorText());
    }
}

void Remove(const std::string& path) {
    if (Exists(path) && !DeleteFileA(path.c_str())) {
        throw CaseAbort("could not delete " + path + ": " + LastErrorText());
    }
}

void MakeFolders(const std::string& path) {
    for (std::size_t at = path.find('\\', 3);; at = path.find('\\', at + 1)) {
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
        if (at == std::string::npos) {
            break;
        }
    }
    if (!Exists(path)) {
        throw CaseAbort("could not create the folder " + path);
    }
}

void Copy(const std::string& from, const std::string& to) {
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) {
        throw CaseAbort("could not copy " + from + " to " + to + ": " + LastErrorText());
    }
}

// Where two files part, as "line N: expected ..., got ...".
std::string FirstDifference(const std::string& expected, const std::string& got) {
    std::vector<std::string> want = Split(expected, "\r\n");
    std::vector<std::string> have = Split(got, "\r\n");
    for (std::size_t i = 0; i < want.size() || i < have.size(); ++i) {
        std::string a = i < want.size() ? want[i] : "<end of file>";
        std::string b = i < have.size() ? have[i] : "<end of file>";
        if (a != b) {
            return "line " + std::to_string(i + 1) + ": expected " + Quote(a) + ", got " + Quote(b);
        }
    }
    return "sizes differ: expected " + std::to_string(expected.size()) + " bytes, got " +
           std::to_string(got.size());
}

void ExpectFile(Outcome& out, const std::string& path, const std::string& expected,
                const std::string& expectedName) {
    std::string got;
    if (!ReadWhole(path, got)) {
        out.Fail(path + ": expected the content of " + expectedName + ", got no file");
        return;
    }
    if (got != expected) {
        out.Fail(path + ": expected " + expectedName + " byte for byte, got a difference at " +
                 FirstDifference(expected, got));
    }
}

void ExpectNoFile(Outcome& out, const std::string& path) {
    out.Expect(!Exists(path), path + ": expected no such file, got one");
}

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char kGameEntry[] = "Corvane_is1";

// The game's uninstall entry, in the 32-bit view where its installer puts it.
void RegisterGame(const std::string& displayIcon) {
    RegKey key;
    std::string path = std::string(kUninstallKey) + "\\" + kGameEntry;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, key.out(),
                        nullptr) != ERROR_SUCCESS ||
        RegSetValueExA(key.get(), "DisplayIcon", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(displayIcon.c_str()),
                       static_cast<DWORD>(displayIcon.size() + 1)) != ERROR_SUCCESS) {
        throw CaseAbort("could not register the game's uninstall entry");
    }
}

void UnregisterGame() {
    RegKey parent;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY,
                      parent.out()) != ERROR_SUCCESS) {
        return;
    }
    LONG rc = RegDeleteKeyA(parent.get(), kGameEntry);
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) {
        throw CaseAbort("could not remove the game's uninstall entry");
    }
}

// ---------------------------------------------------------------------------------------------
// Windows of another process

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string ClassOf(HWND hwnd) {
    char buf[256] = {};
    GetClassNameA(hwnd, buf, sizeof buf);
    return buf;
}

// The text through WM_GETTEXT, which edit controls of another process need.
std::string TextOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kSendMs, &length)) {
        throw CaseAbort("expected an answer to WM_GETTEXTLENGTH from " + ClassOf(hwnd) +
                        ", got none");
    }
    std::vector<char> buf(length + 2, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                        SMTO_NORMAL, kSendMs, &copied);
    return std::string(buf.data(), copied < buf.size() ? copied : 0);
}

struct WindowQuery {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
    auto* query = reinterpret_cast<WindowQuery*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == query->pid && IsWindowVisible(hwnd)) {
        query->found.push_back(hwnd);
    }
    return TRUE;
}

std::vector<HWND> VisibleWindows(DWORD pid) {
    WindowQuery query{pid, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

struct IconQuery {
    bool shown = false;
};

BOOL CALLBACK FindIcon(HWND child, LPARAM param) {
    LONG style = GetWindowLongA(child, GWL_STYLE);
    if (ClassOf(child) == "Static" && (style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child)) {
        DWORD_PTR icon = 0;
        SendMessageTimeoutA(child, STM_GETICON, 0, 0, SMTO_NORMAL, kSendMs, &icon);
        if (icon != 0) {
            reinterpret_cast<IconQuery*>(param)->shown = true;
        }
    }
    return TRUE;
}

bool ShowsIcon(HWND box) {
    IconQuery query;
    EnumChildWindows(box, FindIcon, reinterpret_cast<LPARAM>(&query));
    return query.shown;
}

// A message box or the input box, as it showed itself.
struct Box {
    HWND hwnd = nullptr;
    std::string title;
    std::string text;  // the message, or the input box's prompt
    bool input = false;
    bool icon = false;
    std::string Describe() const { return (input ? "input box " : "message box ") + Quote(text); }
};

Box ReadBox(HWND hwnd) {
    Box box;
    box.hwnd = hwnd;
    char title[512] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    box.title = title;
    HWND prompt = GetDlgItem(hwnd, kInputPromptId);
    box.input = prompt != nullptr && GetDlgItem(hwnd, kInputEditId) != nullptr;
    HWND text = box.input ? prompt : GetDlgItem(hwnd, kBoxTextId);
    box.text = text ? TextOf(text) : "<no text control>";
    box.icon = ShowsIcon(hwnd);
    return box;
}

// What a message box must show beside its text.
enum class Icon { kNone, kShown, kAny };

// Completion of a message sent without waiting (SendMessageCallback).
struct Pending {
    bool done = false;
};

void CALLBACK OnReply(HWND, UINT, ULONG_PTR data, LRESULT) {
    reinterpret_cast<Pending*>(data)->done = true;
}

// ---------------------------------------------------------------------------------------------
// The program under test

struct Layout {
    std::string velkinDir = "C:\\velkin";
    std::string velkin = "C:\\velkin\\Velkin.exe";
    std::string usrTmp = "C:\\velkin\\usr.tmp";
    std::string emptyDir = "C:\\velkin\\empty folder";
    std::string docs;  // C:\users\<name>\Documents\Corvane
    std::string cfg;
    std::string cf0;
    std::string gameDir = "C:\\Games\\Corvane Test";
    std::string game = "C:\\Games\\Corvane Test\\Corvane.exe";
    std::string gameRecord = "C:\\Games\\Corvane Test\\launch-record.txt";
    // Found first if the path were started unquoted: it must never run.
    std::string decoy = "C:\\Games\\Corvane.exe";
    std::string decoyRecord = "C:\\Games\\launch-record.txt";
    std::string sampleInput, sampleOutput, emptyOutput;
};

class Velkin {
  public:
    Velkin(const Layout& layout, Outcome& out, std::deque<Pending>& pending)
        : out_(out), pending_(pending) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::string commandLine = "\"" + layout.velkin + "\"";
        // Started from its own folder, where it reads usr.tmp back.
        if (!CreateProcessA(layout.velkin.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                            nullptr, layout.velkinDir.c_str(), &si, &pi)) {
            throw CaseAbort("could not start " + layout.velkin + ": " + LastErrorText());
        }
        process_.Reset(pi.hProcess);
        CloseHandle(pi.hThread);
        pid_ = pi.dwProcessId;
    }
    ~Velkin() {
        if (process_.valid() && !detached_ && Running()) {
            TerminateProcess(process_.get(), 99);
            WaitForSingleObject(process_.get(), 10000);
        }
    }
    Velkin(const Velkin&) = delete;
    Velkin& operator=(const Velkin&) = delete;

    void Detach() { detached_ = true; }
    bool Running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }
    DWORD ExitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(process_.get(), &code);
        return code;
    }

    // Polls until `ready` holds, pumping this thread's messages meanwhile.
    template <typename Ready>
    void WaitFor(const std::string& what, Ready ready, DWORD timeout = kWaitMs) {
        DWORD start = GetTickCount();
        for (;;) {
            Pump();
            if (ready()) {
                return;
            }
            if (!Running()) {
                out_.Abort("expected " + what + ", got the program's end (exit code " +
                           std::to_string(ExitCode()) + ")");
            }
            if (GetTickCount() - start > timeout) {
                out_.Abort("expected " + what + " within " + std::to_string(timeout / 1000) +
                           " s, got nothing");
            }
            HANDLE h = process_.get();
            MsgWaitForMultipleObjects(1, &h, FALSE, kPollMs, QS_ALLINPUT);
        }
    }

    HWND FindBox() const {
        for (HWND hwnd : VisibleWindows(pid_)) {
            if (ClassOf(hwnd) == "#32770") {
                return hwnd;
            }
        }
        return nullptr;
    }

    Box WaitBox(const std::string& what) {
        HWND hwnd = nullptr;
        WaitFor(what, [&] { return (hwnd = FindBox()) != nullptr; });
        Box box = ReadBox(hwnd);
        out_.Expect(
            StartsWith(box.title, kBoxTitlePrefix) && box.title.size() > sizeof kBoxTitlePrefix - 1,
            "title of " + box.Describe() + ": expected \"Velkin by <author>\", got " +
                Quote(box.title));
        return box;
    }

    // Waits for a message box with exactly `text`; aborts the case on any other box.
    Box ExpectBox(const std::string& text, Icon icon = Icon::kNone) {
        Box box = WaitBox("the message box " + Quote(text));
        if (box.input || box.text != text) {
            out_.Abort("expected the message box " + Quote(text) + ", got the " + box.Describe());
        }
        if (icon != Icon::kAny) {
            bool want = icon == Icon::kShown;
            out_.Expect(box.icon == want, "message box " + Quote(text) + ": expected " +
                                              (want ? "an icon" : "no icon") + ", got " +
                                              (box.icon ? "an icon" : "none"));
        }
        return box;
    }

    void Press(const Box& box, int button) {
        HWND b = GetDlgItem(box.hwnd, button);
        if (b == nullptr) {
            out_.Abort("expected button " + std::to_string(button) + " in the " + box.Describe() +
                       ", got none");
        }
        PostMessageA(b, BM_CLICK, 0, 0);
        WaitFor("the " + box.Describe() + " to close",
                [&] { return !IsWindow(box.hwnd) || !IsWindowVisible(box.hwnd); });
    }

    void Answer(const std::string& text, int button = IDOK, Icon icon = Icon::kNone) {
        Press(ExpectBox(text, icon), button);
    }

    Box ExpectInputBox() {
        Box box = WaitBox("the input box");
        if (!box.input) {
            out_.Abort("expected the input box, got the " + box.Describe());
        }
        out_.Equal("prompt of the input box", kPrompt, box.text);
        HWND edit = GetDlgItem(box.hwnd, kInputEditId);
        out_.Equal("input field when the box opens", "", TextOf(edit));
        return box;
    }

    void Type(const Box& box, const std::string& text) {
        SetTo(GetDlgItem(box.hwnd, kInputEditId), text);
    }

    // Answers the start-up question; a Yes may be followed by the detection message.
    void StartUp(bool yes, bool expectDetected) {
        Box question = ExpectBox(kQuestion);
        HWND yesButton = GetDlgItem(question.hwnd, IDYES);
        out_.Expect(yesButton != nullptr && GetDlgItem(question.hwnd, IDNO) != nullptr,
                    "start-up question: expected the buttons Yes and No, got others");
        if (yesButton != nullptr) {
            out_.Expect((GetWindowLongA(yesButton, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON,
                        "start-up question: expected Yes as the default button, got another");
        }
        Press(question, yes ? IDYES : IDNO);
        if (expectDetected) {
            Answer(kDetected);
        }
        WaitMain();
    }

    void WaitMain() {
        WaitFor("the main window", [&] {
            if (HWND box = FindBox()) {
                out_.Abort("expected the main window, got the " + ReadBox(box).Describe());
            }
            for (HWND hwnd : VisibleWindows(pid_)) {
                if (ClassOf(hwnd) == kMainClass) {
                    main_ = hwnd;
                    return true;
                }
            }
            return false;
        });
    }

    HWND Main() const { return main_; }

    HWND Control(int id) {
        HWND hwnd = GetDlgItem(main_, id);
        if (hwnd == nullptr) {
            out_.Abort("expected " + ControlName(id) + " (ID " + std::to_string(id) +
                       ") in the main window, got none");
        }
        return hwnd;
    }

    // Sends without blocking this thread; the program may open a modal box meanwhile.
    Pending& Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        pending_.emplace_back();
        Pending& p = pending_.back();
        if (!SendMessageCallbackA(hwnd, msg, wp, lp, OnReply, reinterpret_cast<ULONG_PTR>(&p))) {
            out_.Abort("could not send message " + std::to_string(msg) + ": " + LastErrorText());
        }
        return p;
    }

    // Waits until the program has handled `p` without showing any box.
    void WaitQuiet(Pending& p, const std::string& what) {
        WaitFor(what + " to end", [&] {
            if (HWND box = FindBox()) {
                out_.Abort("after " + what + ": expected no box, got the " +
                           ReadBox(box).Describe());
            }
            return p.done;
        });
    }

    Pending& Click(int id) { return Send(Control(id), BM_CLICK, 0, 0); }
    Pending& Menu(WPARAM command) { return Send(main_, WM_COMMAND, command, 0); }

    void ClickQuiet(int id) { WaitQuiet(Click(id), "the click on " + ControlName(id)); }

    std::string Text(int id) { return TextOf(Control(id)); }
    int Check(int id) {
        DWORD_PTR state = 0;
        SendMessageTimeoutA(Control(id), BM_GETCHECK, 0, 0, SMTO_NORMAL, kSendMs, &state);
        return static_cast<int>(state);
    }
    void SetTo(HWND hwnd, const std::string& text) {
        DWORD_PTR ok = 0;
        if (!SendMessageTimeoutA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                 SMTO_NORMAL, kSendMs, &ok) ||
            !ok) {
            out_.Abort("could not set the text " + Quote(text));
        }
    }
    void SetText(int id, const std::string& text) { SetTo(Control(id), text); }

    // Waits for the process to end by itself.
    void WaitEnd(const std::string& what) {
        DWORD start = GetTickCount();
        while (Running()) {
            if (HWND box = FindBox()) {
                out_.Abort("expected " + what + ", got the " + ReadBox(box).Describe());
            }
            if (GetTickCount() - start > kWaitMs) {
                out_.Abort("expected " + what + ", got a program still running");
            }
            WaitForSingleObject(process_.get(), kPollMs);
        }
    }

    // Closes the window as its close button does; the program must end cleanly.
    void Close() {
        if (main_ == nullptr) {
            WaitMain();
        }
        PostMessageA(main_, WM_CLOSE, 0, 0);
        WaitEnd("the program's end after closing its window");
        out_.Equal("exit code", 0, ExitCode());
    }

    DWORD pid() const { return pid_; }

  private:
    Outcome& out_;
    std::deque<Pending>& pending_;
    Handle process_;
    DWORD pid_ = 0;
    HWND main_ = nullptr;
    bool detached_ = false;
};

// ---------------------------------------------------------------------------------------------
// What a read of a file must show

struct Expected {
    int checks[14] = {};    // [1..13]
    std::string texts[15];  // [1..14]
    int keysSeen = 0;
};

// Last line wins; a switch takes only "=0" or "=1" right after its key.
Expected ExpectedAfterRead(const std::string& file) {
    Expected e;
    bool seenCheck[14] = {};
    bool seenText[15] = {};
    std::vector<std::string> lines = Split(file, "\r\n");
    if (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    for (const std::string& line : lines) {
        for (const SwitchKey& s : kSwitches) {
            std::string key = std::string(s.key) + "=";
            if (StartsWith(line, key) && line.size() > key.size() &&
                (line[key.size()] == '0' || line[key.size()] == '1')) {
                e.checks[s.check] = line[key.size()] - '0';
                seenCheck[s.check] = true;
            }
        }
        for (const ValueKey& v : kValues) {
            if (StartsWith(line, v.literal)) {
                e.texts[v.text] = line.substr(std::strlen(v.literal));
                seenText[v.text] = true;
            }
        }
    }
    for (int i = 1; i <= 13; ++i) {
        e.keysSeen += seenCheck[i];
    }
    for (int i = 1; i <= 14; ++i) {
        e.keysSeen += seenText[i];
    }
    return e;
}

void ExpectControls(Outcome& out, Velkin& app, const Expected& e, const std::string& when) {
    for (int n = 1; n <= 13; ++n) {
        out.Equal(ControlName(CheckId(n)) + " " + when, e.checks[n], app.Check(CheckId(n)));
    }
    for (int n = 1; n <= 14; ++n) {
        out.Equal(ControlName(TextId(n)) + " " + when, e.texts[n], app.Text(TextId(n)));
    }
}

// Replaces the one line that starts with `prefix`.
std::string ReplaceLine(const std::string& file, const std::string& prefix,
                        const std::string& line) {
    std::vector<std::string> lines = Split(file, "\r\n");
    int hits = 0;
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (StartsWith(lines[i], prefix)) {
            lines[i] = line;
            ++hits;
        }
        out += lines[i] + (i + 1 < lines.size() ? "\r\n" : "");
    }
    if (hits != 1) {
        throw CaseAbort("golden file: expected one line starting " + Quote(prefix) + ", got " +
                        std::to_string(hits));
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Keyboard and clipboard

void PressKey(WORD vk, bool shift) {
    std::vector<INPUT> keys;
    auto key = [&](WORD code, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = code;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        keys.push_back(in);
    };
    if (shift) {
        key(VK_SHIFT, false);
    }
    key(vk, false);
    key(vk, true);
    if (shift) {
        key(VK_SHIFT, true);
    }
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
        return nullptr;
    }
    return info.hwndFocus;
}

class ClipboardOpen {
  public:
    ClipboardOpen(HWND owner, Outcome& out) {
        for (int i = 0; i < 250 && !(open_ = OpenClipboard(owner) != FALSE); ++i) {
            Sleep(kPollMs);  // another program may hold it for a moment
        }
        if (!open_) {
            out.Abort("could not open the clipboard: " + LastErrorText());
        }
    }
    ~ClipboardOpen() {
        if (open_) {
            CloseClipboard();
        }
    }
    ClipboardOpen(const ClipboardOpen&) = delete;
    ClipboardOpen& operator=(const ClipboardOpen&) = delete;

  private:
    bool open_ = false;
};

bool PutOnClipboard(UINT format, const std::string& data) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, data.size() + 1);
    if (mem == nullptr) {
        return false;
    }
    std::memcpy(GlobalLock(mem), data.c_str(), data.size() + 1);
    GlobalUnlock(mem);
    if (SetClipboardData(format, mem) == nullptr) {
        GlobalFree(mem);
        return false;
    }
    return true;
}

std::string ClipboardText(HWND owner, Outcome& out) {
    ClipboardOpen open(owner, out);
    HANDLE mem = GetClipboardData(CF_TEXT);
    if (mem == nullptr) {
        return "<no CF_TEXT on the clipboard>";
    }
    const char* text = static_cast<const char*>(GlobalLock(mem));
    std::string s = text ? text : "";
    GlobalUnlock(mem);
    return s;
}

// ---------------------------------------------------------------------------------------------
// The cases

struct Context {
    Layout layout;
    Outcome* out = nullptr;
    std::deque<Pending>* pending = nullptr;
    HWND clipboardOwner = nullptr;
};

using CaseFn = void (*)(Context&);

// Puts the machine back as a fresh start of each case expects it.
void ResetMachine(const Layout& l) {
    MakeFolders(l.docs);
    MakeFolders(l.emptyDir);
    MakeFolders(l.gameDir);
    for (const std::string& f :
         {l.cfg, l.cf0, l.usrTmp, l.gameRecord, l.decoyRecord, l.emptyDir + "\\Environment.cfg"}) {
        Remove(f);
    }
    RegisterGame(l.game);
}

Velkin Start(Context& c) {
    return Velkin(c.layout, *c.out, *c.pending);
}

void InstallSample(const Layout& l) {
    WriteWhole(l.cfg, l.sampleInput);
}

void ExpectFreshControls(Outcome& out, Velkin& app, const std::string& when) {
    ExpectControls(out, app, Expected{}, when);
}

// Reads through the input box: no folder is known yet.
void ReadTyped(Velkin& app, const std::string& folder) {
    Pending& p = app.Click(kCommand1);
    Box box = app.ExpectInputBox();
    app.Type(box, folder);
    app.Press(box, IDOK);
    app.WaitQuiet(p, "the read of " + folder);
}

void SaveWithBackup(Velkin& app) {
    Pending& p = app.Menu(kMenuSave);
    app.Answer(kBackupBox, IDOK, Icon::kShown);
    app.Answer(kGenerated);
    app.Answer(kWritten);
    app.WaitQuiet(p, "Save");
}

void SaveWithoutBackup(Velkin& app) {
    Pending& p = app.Menu(kMenuSave);
    app.Answer(kGenerated);
    app.Answer(kWritten);
    app.WaitQuiet(p, "Save");
}

void CaseStartNo(Context& c) {
    Outcome& out = *c.out;
    InstallSample(c.layout);
    Velkin app = Start(c);
    app.StartUp(false, false);
    char title[256] = {};
    GetWindowTextA(app.Main(), title, sizeof title);
    out.Equal("window title", kTitle, title);
    out.Equal("Label28", kNotSet, app.Text(LabelId(28)));
    ExpectFreshControls(out, app, "after start-up");
    app.Close();
    ExpectFile(out, c.layout.cfg, c.layout.sampleInput, "sample-input.cfg");
    ExpectNoFile(out, c.layout.cf0);
}

void CaseStartYesFound(Context& c) {
    Outcome& out = *c.out;
    InstallSample(c.layout);
    Velkin app = Start(c);
    app.StartUp(true, true);
    char title[256] = {};
    GetWindowTextA(app.Main(), title, sizeof title);
    out.Equal("window title", kTitle, title);
    out.Equal("Label28", kSet, app.Text(LabelId(28)));
    ExpectFreshControls(out, app, "after start-up (start-up reads no settings)");
    // The scratch file goes away again.
    app.WaitFor("usr.tmp deleted", [&] { return !Exists(c.layout.usrTmp); });
    app.Close();
}

void CaseStartYesNotFound(Context& c) {
    Outcome& out = *c.out;
    Velkin app = Start(c);
    app.StartUp(true, false);
    out.Equal("Label28", kNotSet, app.Text(LabelId(28)));
    // No folder known: the read asks for one.
    Pending& p = app.Click(kCommand1);
    app.Press(app.ExpectInputBox(), IDCANCEL);
    app.WaitQuiet(p, "the cancelled read");
    app.Close();
}

void CaseReadSample(Context& c) {
    Outcome& out = *c.out;
    InstallSample(c.layout);
    Expected e = ExpectedAfterRead(c.layout.sampleInput);
    out.Equal("managed keys in sample-input.cfg", 27, e.keysSeen);
    Velkin app = Start(c);
    app.StartUp(true, true);
    app.ClickQuiet(kCommand1);
    ExpectControls(out, app, e, "after reading sample-input.cfg");
    out.Equal("Label28 after the read", kSet, app.Text(LabelId(28)));
    // A second read of the same file changes nothing.
    app.ClickQuiet(kCommand1);
    ExpectControls(out, app, e, "after reading sample-input.cfg twice");
    app.Close();
    ExpectFile(out, c.layout.cfg, c.layout.sampleInput,
               "sample-input.cfg (reading writes nothing)");
}

void CaseSaveWithBackup(Context& c) {
    Outcome& out = *c.out;
    InstallSample(c.layout);
    Velkin app = Start(c);
    app.StartUp(true, true);
    app.ClickQuiet(kCommand1);
    SaveWithBackup(app);
    ExpectFile(out, c.layout.cfg, c.layout.sampleOutput, "sample-output.cfg");
    ExpectFile(out, c.layout.cf0, c.layout.sampleInput, "sample-input.cfg");
    // Saving again backs up the file as last read, not the one just written.
    SaveWithBackup(app);
    ExpectFile(out, c.layout.cf0, c.layout.sampleInput, "sample-input.cfg (second save)");
    app.Close();
}

void CaseSaveTypedFolder(Context& c) {
    Outcome& out = *c.out;
    InstallSample(c.layout);
    Velkin app = Start(c);
    app.StartUp(false, false);
    ReadTyped(app, c.layout.docs);
    ExpectControls(out, app, ExpectedAfterRead(c.layout.sampleInput), "after the typed read");
    out.Equal("Label28 after a typed folder", kNotSet, app.Text(LabelId(28)));
    SaveWithoutBackup(app);
    ExpectFile(out, c.layout.cfg, c.layout.sampleOutput, "sample-output.cfg");
    ExpectNoFile(out, c.layout.cf0);
    app.Close();
}

void CaseEditsReachFile(Context& c) {
    Outcome& out = *c.out;
    InstallSample(c.layout);
    Expected e = ExpectedAfterRead(c.layout.sampleInput);
    Velkin app = Start(c);
    app.StartUp(false, false);
    ReadTyped(app, c.layout.docs);
    // A click toggles a box, as the user's would; a trailing blank is kept.
    app.ClickQuiet(CheckId(1));
    app.ClickQuiet(CheckId(13));
    app.SetText(TextId(1), "2560 ");
    app.SetText(TextId(9), "");
    SaveWithoutBackup(app);
    std::string expected = c.layout.sampleOutput;
    expected =
        ReplaceLine(expected, "SND_ENABLE=", "SND_ENABLE=" + std::to_string(1 - e.checks[1]));
    expected = ReplaceLine(expected, "XR_GRAIN=", "XR_GRAIN=" + std::to_string(1 - e.checks[13]));
    expected = ReplaceLine(expected, "VID_DWIDTH=", "VID_DWIDTH=2560 ");
    expected = ReplaceLine(expected, "XR_LODOFFSET=", "XR_LODOFFSET=");
    ExpectFile(out, c.layout.cfg, expected, "sample-output.cfg with the four edits");
    app.Close();
}

void CaseInputCancelled(Context& c) {
    Outcome& out = *c.out;
    InstallSample(c.layout);
    Velkin app = Start(c);
    app.StartUp(false, false);
    Pending& p = app.Click(kCommand1);
    app.Press(app.ExpectInputBox(), IDCANCEL);
    app.WaitQuiet(p, "the cancelled read");
    ExpectFreshControls(out, app, "after a cancelled input box");
    // Nothing was read, so there is nothing to save.
    Pending& s = app.Menu(kMenuSave);
    app.Answer(kNothingToSave, IDOK, Icon::kAny);
    app.WaitQuiet(s, "Save");
    // The next press asks again, and a typed folder is then read.
    ReadTyped(app, c.layout.docs);
    ExpectControls(out, app, ExpectedAfterRead(c.layout.sampleInput), "after asking again");
    app.Close();
    ExpectFile(out, c.layout.cfg, c.layout.sampleInput, "sample-input.cfg (nothing saved)");
    ExpectNoFile(out, c.layout.cf0);
}

void CaseEmptyFolder(Context& c) {
    Outcome& out = *c.out;
    Velkin app = Start(c);
    app.StartUp(false, false);
    ReadTyped(app, c.layout.emptyDir);
    ExpectFreshControls(out, app, "after a folder without Environment.cfg");
    SaveWithoutBackup(app);
    ExpectFile(out, c.layout.emptyDir + "\\Environment.cfg", c.layout.emptyOutput,
               "empty-output.cfg");
    app.Close();
}

void CaseSaveBeforeReadNo(Context& c) {
    Outcome& out = *c.out;
    InstallSample(c.layout);
    Velkin app = Start(c);
    app.StartUp(false, false);
    Pending& p = app.Menu(kMenuSave);
    app.Answer(kNothingToSave, IDOK, Icon::kAny);
    app.WaitQuiet(p, "Save");
    app.Close();
    ExpectFile(out, c.layout.cfg, c.layout.sampleInput, "sample-input.cfg (nothing saved)");
    ExpectNoFile(out, c.layout.cf0);
}

void CaseSaveBeforeReadYes(Context& c) {
    Outcome& out = *c.out;
    InstallSample(c.layout);
    Velkin app = Start(c);
    app.StartUp(true, true);
    // The marker says "Set.", yet no backup of nothing may replace anything.
    Pending& p = app.Menu(kMenuSave);
    app.Answer(kNothingToSave, IDOK, Icon::kAny);
    app.WaitQuiet(p, "Save");
    app.Close();
    ExpectFile(out, c.layout.cfg, c.layout.sampleInput, "sample-input.cfg (nothing saved)");
    ExpectNoFile(out, c.layout.cf0);
}

void CaseLockedFile(Context& c) {
    Outcome& out = *c.out;
    const Layout& l = c.layout;
    InstallSample(l);
    Velkin app = Start(c);
    app.StartUp(true, true);
    const std::string& cfg = l.cfg;
    {
        Handle lock(CreateFileA(l.cfg.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        out.Expect(lock.valid(), "could not lock " + l.cfg);
        Pending& p = app.Click(kCommand1);
        Box box = app.WaitBox("a box about the unreadable file");
        out.Expect(StartsWith(Lower(box.text), Lower("Could not read " + cfg + ":")),
                   "read of a locked file: expected \"Could not read " + cfg +
                       ":<reason>\", got the " + box.Describe());
        app.Press(box, IDOK);
        app.WaitQuiet(p, "the failed read");
        ExpectFreshControls(out, app, "after a failed read");
    }
    app.ClickQuiet(kCommand1);
    ExpectControls(out, app, ExpectedAfterRead(l.sampleInput), "after the read");
    {
        Handle lock(CreateFileA(l.cfg.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        Pending& p = app.Menu(kMenuSave);
        app.Answer(kBackupBox, IDOK, Icon::kShown);
        app.Answer(kGenerated);
        Box box = app.WaitBox("a box about the unwritable file");
        out.Expect(StartsWith(Lower(box.text), Lower("Could not write " + cfg + ":")),
                   "save to a locked file: expected \"Could not write " + cfg +
                       ":<reason>\", got the " + box.Describe());
        app.Press(box, IDOK);
        app.WaitQuiet(p, "the failed save");
    }
    ExpectFile(out, l.cfg, l.sampleInput, "sample-input.cfg (the failed save left it)");
    ExpectFile(out, l.cf0, l.sampleInput, "sample-input.cfg (backup made before the failure)");
    // The program goes on: the next save works.
    SaveWithBackup(app);
    ExpectFile(out, l.cfg, l.sampleOutput, "sample-output.cfg");
    app.Close();
}

void CaseAbout(Context& c) {
    Outcome& out = *c.out;
    Velkin app = Start(c);
    app.StartUp(false, false);
    Pending& p = app.Menu(kMenuAbout);
    Box box = app.WaitBox("the About box");
    std::string author = box.title.substr(std::strlen(kBoxTitlePrefix));
    std::vector<std::string> lines = Split(box.text, "\r\n");
    out.Equal("lines in the About box", 7, static_cast<long long>(lines.size()));
    lines.resize(7);
    out.Equal("About line 1", "Velkin v0.2.1 by " + author, lines[0]);
    out.Equal("About line 2", "CORVANE Advanced Config Tool v0.2.1", lines[1]);
    out.Equal("About line 3", "Beta Release, Writes Enabled!", lines[2]);
    out.Expect(StartsWith(lines[5], "BitCoin: ") && lines[5].size() > 9,
               "About line 6: expected \"BitCoin: <address>\", got " + Quote(lines[5]));
    std::string label = app.Text(LabelId(15));
    out.Equal("Label15 against the About box", "BitCoin " + lines[5].substr(9), label);
    for (int i : {3, 4, 6}) {
        out.Expect(!lines[i].empty(), "About line " + std::to_string(i + 1) +
                                          ": expected a contact line, got an empty one");
    }
    out.Expect(!box.icon, "About box: expected no icon, got one");
    app.Press(box, IDOK);
    app.WaitQuiet(p, "the About box");
    app.Close();
}

void CaseClipboard(Context& c) {
    Outcome& out = *c.out;
    Velkin app = Start(c);
    app.StartUp(false, false);
    std::string label = app.Text(LabelId(15));
    out.Expect(StartsWith(label, "BitCoin ") && label.size() > 8,
               "Label15: expected \"BitCoin <address>\", got " + Quote(label));
    std::string address = label.substr(std::min<std::size_t>(8, label.size()));
    HWND donation = app.Control(LabelId(15));
    out.Equal("class of Label15", "static", Lower(ClassOf(donation)));
    out.Expect((GetWindowLongA(donation, GWL_STYLE) & SS_NOTIFY) != 0,
               "Label15: expected the style SS_NOTIFY, got none");
    UINT marker = RegisterClipboardFormatA("VelkinE2EMarker");
    {
        ClipboardOpen open(c.clipboardOwner, out);
        EmptyClipboard();
        out.Expect(PutOnClipboard(CF_TEXT, "earlier clipboard text") &&
                       PutOnClipboard(marker, "earlier private data"),
                   "could not fill the clipboard");
    }
    for (int click = 1; click <= 2; ++click) {
        // A click on the label, as the mouse gives it.
        PostMessageA(donation, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        PostMessageA(donation, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        app.Answer(kClipboardBox);
        std::string when = " after click " + std::to_string(click);
        out.Equal("clipboard text" + when, address, ClipboardText(c.clipboardOwner, out));
        out.Expect(!IsClipboardFormatAvailable(marker),
                   "earlier clipboard data" + when + ": expected gone, got still there");
    }
    app.Close();
}

// One launch record: path, command line, folder, STARTF_USESHOWWINDOW, show state, maximised.
void CaseLaunch(Context& c) {
    Outcome& out = *c.out;
    const Layout& l = c.layout;
    Velkin app = Start(c);
    app.StartUp(false, false);
    std::string record;
    Pending& p = app.Menu(kMenuLaunch);
    app.WaitQuiet(p, "launch");
    std::string decoy;
    app.WaitFor("the game's launch record", [&] {
        return (ReadWhole(l.gameRecord, record) && record.find("\r\n") != std::string::npos) ||
               (ReadWhole(l.decoyRecord, decoy) && !decoy.empty());
    });
    if (!decoy.empty()) {
        out.Abort("game started: expected " + l.game + ", got " + l.decoy +
                  " (the path cut at its first blank)");
    }
    std::vector<std::string> f = Split(record.substr(0, record.find("\r\n")), "\t");
    f.resize(6);
    out.Equal("game started", Lower(l.game), Lower(f[0]));
    out.Equal("game's folder", Lower(l.gameDir), Lower(f[2]));
    out.Equal("game's show flag STARTF_USESHOWWINDOW", "1", f[3]);
    out.Equal("game's show state (SW_SHOWMAXIMIZED)", "3", f[4]);
    out.Equal("game's window maximised", "1", f[5]);
    out.Expect(!f[1].empty(), "game's command line: expected its path, got nothing");
    std::printf("    (game's command line %s)\n", Quote(f[1]).c_str());
    // Each click starts one more instance.
    Pending& again = app.Menu(kMenuLaunch);
    app.WaitQuiet(again, "the second launch");
    app.WaitFor("a second launch record", [&] {
        return ReadWhole(l.gameRecord, record) && Split(record, "\r\n").size() == 3;
    });
    app.Close();
}

void CaseLaunchNotInstalled(Context& c) {
    Outcome& out = *c.out;
    UnregisterGame();
    Velkin app = Start(c);
    app.StartUp(false, false);
    Pending& p = app.Menu(kMenuLaunch);
    Box box = app.WaitBox("a box about the missing game");
    out.Expect(!box.input && !box.text.empty(),
               "launch without the game: expected an error message, got the " + box.Describe());
    std::printf("    (launch error reads %s)\n", Quote(box.text).c_str());
    app.Press(box, IDOK);
    app.WaitQuiet(p, "the failed launch");
    out.Expect(!Exists(c.layout.gameRecord) && !Exists(c.layout.decoyRecord),
               "launch without the game: expected no program started, got a launch record");
    app.Close();
}

void CaseExit(Context& c) {
    Outcome& out = *c.out;
    InstallSample(c.layout);
    Velkin app = Start(c);
    app.StartUp(true, true);
    app.ClickQuiet(kCommand1);
    app.ClickQuiet(CheckId(2));
    app.SetText(TextId(3), "changed but not saved");
    PostMessageA(app.Main(), WM_COMMAND, kMenuExit, 0);
    HWND main = app.Main();
    app.WaitEnd("the program's end after File > exit, with no question");
    out.Expect(!IsWindow(main), "main window after exit: expected gone, got still there");
    out.Equal("exit code", 0, app.ExitCode());
    ExpectFile(out, c.layout.cfg, c.layout.sampleInput, "sample-input.cfg (exit saves nothing)");
    ExpectNoFile(out, c.layout.cf0);
}

const int kTabOrder[] = {201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211, 212, 213, 214,
                         113, 112, 111, 110, 109, 108, 107, 106, 105, 104, 103, 102, 101, 100};

void CaseTabOrderStructure(Context& c) {
    Outcome& out = *c.out;
    Velkin app = Start(c);
    app.StartUp(false, false);
    HWND at = app.Control(kCommand1);
    for (int id : kTabOrder) {
        HWND next = GetNextDlgTabItem(app.Main(), at, FALSE);
        int got = next ? GetDlgCtrlID(next) : 0;
        if (got != id) {
            out.Fail("tab stop after " + ControlName(GetDlgCtrlID(at)) + ": expected " +
                     ControlName(id) + ", got " + ControlName(got));
            break;
        }
        at = next;
    }
    app.Close();
}

void CaseTabKeys(Context& c) {
    Outcome& out = *c.out;
    Velkin app = Start(c);
    app.StartUp(false, false);
    HWND main = app.Main();
    auto focusId = [&] {
        HWND f = FocusOf(main);
        return f ? GetDlgCtrlID(f) : 0;
    };
    app.WaitFor(
        "the focus on Command1 when the window shows", [&] { return focusId() == kCommand1; },
        5000);
    SetForegroundWindow(main);
    app.WaitFor("the main window in the foreground", [&] { return GetForegroundWindow() == main; });
    int previous = kCommand1;
    for (int id : kTabOrder) {
        PressKey(VK_TAB, false);
        DWORD start = GetTickCount();
        int got = previous;
        while ((got = focusId()) == previous && GetTickCount() - start < 5000) {
            Sleep(kPollMs);
        }
        if (got != id) {
            out.Fail("Tab from " + ControlName(previous) + ": expected focus on " +
                     ControlName(id) + ", got " + ControlName(got));
            break;
        }
        previous = id;
    }
    if (out.failures().empty()) {
        PressKey(VK_TAB, true);
        app.WaitFor(
            "Shift+Tab from Command1 to reach Check1", [&] { return focusId() != kCommand1; },
            5000);
        out.Equal("focus after Shift+Tab from Command1", ControlName(CheckId(1)),
                  ControlName(focusId()));
    }
    app.Close();
}

struct Case {
    const char* name;
    CaseFn run;
};

const Case kCases[] = {
    {"start-up answered No", CaseStartNo},
    {"start-up answered Yes, settings file found", CaseStartYesFound},
    {"start-up answered Yes, no settings file", CaseStartYesNotFound},
    {"read sample-input.cfg into the controls", CaseReadSample},
    {"save with backup after detection", CaseSaveWithBackup},
    {"save without backup after a typed folder", CaseSaveTypedFolder},
    {"edited controls reach the written file", CaseEditsReachFile},
    {"input box cancelled, then answered", CaseInputCancelled},
    {"folder without a settings file, save writes the empty template", CaseEmptyFolder},
    {"save before any read, after No", CaseSaveBeforeReadNo},
    {"save before any read, after detection", CaseSaveBeforeReadYes},
    {"locked settings file: read and write failures", CaseLockedFile},
    {"About box text", CaseAbout},
    {"donation label puts the address on the clipboard", CaseClipboard},
    {"launch starts the game maximised in its folder", CaseLaunch},
    {"launch without the game installed", CaseLaunchNotInstalled},
    {"exit closes without a question", CaseExit},
    {"tab stops in focus order", CaseTabOrderStructure},
    {"Tab key walks the focus order", CaseTabKeys},
};

std::string EnvOr(const char* name, const std::string& fallback) {
    char buf[512] = {};
    DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : fallback;
}

std::string OwnFolder() {
    char buf[MAX_PATH * 2] = {};
    GetModuleFileNameA(nullptr, buf, sizeof buf);
    std::string own = buf;
    return own.substr(0, own.find_last_of('\\'));
}

bool LoadGolden(const std::string& dir, Layout& l) {
    return ReadWhole(dir + "\\sample-input.cfg", l.sampleInput) &&
           ReadWhole(dir + "\\sample-output.cfg", l.sampleOutput) &&
           ReadWhole(dir + "\\empty-output.cfg", l.emptyOutput);
}

int RunCases(const std::string& velkinSource, const std::string& goldenDir,
             const std::string& only) {
    Layout layout;
    layout.docs = "C:\\users\\" + EnvOr("USERNAME", "root") + "\\Documents\\Corvane";
    layout.cfg = layout.docs + "\\Environment.cfg";
    layout.cf0 = layout.docs + "\\Environment.cf0";
    if (!LoadGolden(goldenDir, layout)) {
        std::printf("could not read the golden files in %s\n", goldenDir.c_str());
        return 2;
    }
    try {
        MakeFolders(layout.velkinDir);
        MakeFolders(layout.gameDir);
        Copy(velkinSource, layout.velkin);
        std::string stub = OwnFolder() + "\\corvane_stub.exe";
        Copy(stub, layout.game);
        Copy(stub, layout.decoy);
    } catch (const CaseAbort& e) {
        std::printf("setup: %s\n", e.what());
        return 2;
    }
    HWND owner = CreateWindowExA(0, "STATIC", "velkin-e2e", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 nullptr, nullptr);
    std::deque<Pending> pending;  // outlives every case: late replies land here
    int passed = 0, failed = 0;
    for (const Case& k : kCases) {
        if (!only.empty() && std::string(k.name).find(only) == std::string::npos) {
            continue;
        }
        Outcome out;
        Context c{layout, &out, &pending, owner};
        DWORD start = GetTickCount();
        try {
            ResetMachine(layout);
            k.run(c);
        } catch (const CaseAbort& e) {
            out.Fail(e.what());
        }
        double secs = (GetTickCount() - start) / 1000.0;
        if (out.failures().empty()) {
            ++passed;
            std::printf("PASS  %s (%.1f s)\n", k.name, secs);
        } else {
            ++failed;
            std::printf("FAIL  %s (%.1f s)\n", k.name, secs);
            for (const std::string& f : out.failures()) {
                std::printf("      %s\n", f.c_str());
            }
        }
        std::fflush(stdout);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}

// For the demo: the window as a user sees it after answering Yes and reading the settings.
int RunDemo(const std::string& velkin) {
    Layout layout;
    layout.velkin = velkin;
    layout.velkinDir = velkin.substr(0, velkin.find_last_of('\\'));
    Outcome out;
    std::deque<Pending> pending;
    try {
        Velkin app(layout, out, pending);
        Box question = app.ExpectBox(kQuestion);
        app.Press(question, IDYES);
        app.WaitFor("the main window or a box", [&] {
            for (HWND hwnd : VisibleWindows(app.pid())) {
                std::string cls = ClassOf(hwnd);
                if (cls == "#32770" || cls == kMainClass) {
                    return true;
                }
            }
            return false;
        });
        if (HWND box = app.FindBox()) {
            app.Press(ReadBox(box), IDOK);
        }
        app.WaitMain();
        app.ClickQuiet(kCommand1);
        app.Detach();
    } catch (const CaseAbort& e) {
        std::printf("demo: %s\n", e.what());
        return 1;
    }
    std::printf("demo: Velkin is running with the settings read\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc == 3 && std::string(argv[1]) == "--demo") {
        return RunDemo(argv[2]);
    }
    if (argc < 3 || argc > 4) {
        std::printf(
            "usage: velkin_e2e <Velkin.exe> <golden folder> [case name part]\n"
            "       velkin_e2e --demo <Velkin.exe>\n");
        return 2;
    }
    return RunCases(argv[1], argv[2], argc == 4 ? argv[3] : "");
}
