// End-to-end tests of Velkin.exe. Each case starts the real program, answers its boxes and
// works its controls from outside through window messages, as a user would, then checks the
// window and the files on disk. Runs under Wine in a throwaway prefix (see run-e2e.sh).
//
//   velkin_e2e <Velkin.exe> <golden folder> [case name part]   runs the cases
//   velkin_e2e --demo <Velkin.exe>       starts Velkin, answers Yes, reads, leaves it running
// From run-e2e.sh: VELKIN_E2E_DPI, the display's DPI (96 when unset); VELKIN_E2E_FULL_DRIVE,
// the drive letter of a small disk for the disk-full case.
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr DWORD kWaitMs = 30000, kPollMs = 20;  // kWaitMs: for all the program should do soon

// The program's automation interface. A control's ID is its kind plus its number.
const char kMainClass[] = "VelkinMainWindow", kBoxClass[] = "#32770";
constexpr int kCommand1 = 100, kCheck = 100, kText = 200, kLabel = 300;
constexpr int kBoxTextId = 0xFFFF, kInputEditId = 1000, kInputPromptId = 1001;
constexpr WPARAM kMenuLaunch = 401, kMenuSave = 402, kMenuExit = 403, kMenuAbout = 404;

const char kTitle[] = "Velkin - Corvane Advanced Config Tool v0.2.1";
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

// What a read of sample-input.cfg shows in Check1..13 and Text1..14: the last line of a key
// wins, and a switch takes only "=0" or "=1".
const char kSampleChecks[] = "1101010101010";
const char* const kSampleTexts[] = {"1920", "1080",  "2048", "4", "8",    "1.15", "0.9 1.0 1.1",
                                    "2",    "-0.25", "1.5",  "3", "0.52", "0.07", "1.000000"};

// The window's design in twips, {id, Left, Top, Width, Height}: the rows of their own, then
// the check rows {n, Top, label width} (Label n at 540, Check n at 2580), then the value rows
// {label, its Left, Top, label width, text box, its Left, its width}.
struct TwipsRect {
    int id, left, top, width, height;
};
const TwipsRect kOwnRows[] = {{kCommand1, 540, 120, 1335, 375},
                              {kLabel + 27, 2220, 240, 1605, 210},
                              {kLabel + 28, 3900, 240, 885, 210},
                              {kLabel + 15, 120, 4680, 3780, 120},
                              {kText + 2, 5100, 720, 495, 285}};
const int kCheckRows[][3] = {{1, 720, 2055},   {2, 960, 2025},   {3, 1200, 2025},  {4, 1440, 2010},
                             {5, 1680, 2025},  {6, 1920, 1965},  {7, 2160, 2040},  {8, 2400, 2040},
                             {13, 2640, 2025}, {12, 2880, 2025}, {11, 3120, 2040}, {10, 3360, 2055},
                             {9, 3600, 2055}};
const int kValueRows[][7] = {
    {14, 3180, 720, 1035, 1, 4620, 495},   {17, 3180, 1080, 1545, 3, 5220, 375},
    {18, 3180, 1440, 1170, 4, 5220, 375},  {19, 3180, 1800, 945, 5, 4740, 855},
    {21, 3180, 2160, 750, 6, 4740, 855},   {20, 3180, 2520, 1365, 7, 4740, 855},
    {29, 3180, 2880, 1050, 12, 4740, 855}, {30, 3180, 3240, 1140, 13, 4740, 855},
    {31, 3180, 3600, 1215, 14, 4740, 855}, {22, 3180, 3960, 1440, 8, 4740, 855},
    {24, 3180, 4320, 1065, 9, 4620, 975},  {25, 540, 3840, 1290, 11, 2580, 375},
    {23, 540, 4200, 990, 10, 1980, 975}};

const int kTabOrder[] = {201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211, 212, 213, 214,
                         113, 112, 111, 110, 109, 108, 107, 106, 105, 104, 103, 102, 101, 100};

// ---------------------------------------------------------------------------------------------
// Helpers

struct Abort : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void Must(bool ok, const std::string& failure) {
    if (!ok) {
        throw Abort(failure);
    }
}

std::string Quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s.substr(0, 400)) {
        out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
    }
    return out + (s.size() > 400 ? "\"..." : "\"");
}

std::string Lower(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

std::vector<std::string> Split(const std::string& s, const std::string& sep) {
    std::vector<std::string> parts;
    std::size_t at = 0;
    for (std::size_t next; (next = s.find(sep, at)) != std::string::npos; at = next + sep.size()) {
        parts.push_back(s.substr(at, next - at));
    }
    parts.push_back(s.substr(at));
    return parts;
}

std::string Name(int id) {
    const char* kinds[] = {"no control", "Check", "Text", "Label"};
    return id == kCommand1 ? "Command1" : kinds[id / 100 % 4] + std::to_string(id % 100);
}

// The system's text for an error, tidied as the program tidies it.
std::string ErrorText(DWORD code = GetLastError()) {
    char* text = nullptr;
    FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string out = text ? text : "error " + std::to_string(code);
    LocalFree(text);
    return out.substr(0, out.find_last_not_of("\r\n .") + 1);
}

struct CloseHandleOf {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using Handle = std::unique_ptr<void, CloseHandleOf>;

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ReadWhole(const std::string& path, std::string& out) {
    std::ifstream file(path, std::ios::binary);
    out.assign(std::istreambuf_iterator<char>(file), {});
    return file.is_open();
}

void WriteWhole(const std::string& path, const std::string& data) {
    std::ofstream file(path, std::ios::binary);
    Must(bool(file << data), "could not write " + path);
}

void Remove(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    Must(!Exists(path) || DeleteFileA(path.c_str()), "could not delete " + path);
}

void MakeFolder(const std::string& path) {
    std::error_code ignored;
    fs::create_directories(path, ignored);
    Must(fs::is_directory(path, ignored), "could not create the folder " + path);
}

// The files of a folder, by name, with their content.
std::map<std::string, std::string> ListFolder(const std::string& folder) {
    std::map<std::string, std::string> files;
    std::error_code none;  // a missing folder lists nothing
    for (const auto& entry : fs::directory_iterator(folder, none)) {
        std::string& text = files[entry.path().filename().string()];
        text = ReadWhole(entry.path().string(), text) ? text : "<unreadable>";
    }
    return files;
}

// Where two files part, as "line N: expected ..., got ...".
std::string FirstDifference(const std::string& expected, const std::string& got) {
    std::vector<std::string> want = Split(expected, "\r\n"), have = Split(got, "\r\n");
    want.resize(std::max(want.size(), have.size()), "<end of file>");
    have.resize(want.size(), "<end of file>");
    std::size_t i = 0;
    while (i + 1 < want.size() && want[i] == have[i]) {
        ++i;
    }
    return "line " + std::to_string(i + 1) + ": expected " + Quote(want[i]) + ", got " +
           Quote(have[i]);
}

// `text` with its one line `from` made `to`.
std::string ReplaceLine(std::string text, const std::string& from, const std::string& to) {
    std::size_t at = text.find("\n" + from + "\r");
    Must(at != std::string::npos, "golden file: expected a line " + Quote(from) + ", got none");
    return text.replace(at + 1, from.size(), to);
}

// The game's uninstall entry, in the 32-bit view where its installer puts it; none if null.
void RegisterGame(const std::string* displayIcon) {
    const char path[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane_is1";
    HKEY key = nullptr;
    LONG rc = displayIcon ? RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0,
                                            KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr)
                          : RegDeleteKeyExA(HKEY_LOCAL_MACHINE, path, KEY_WOW64_32KEY, 0);
    if (key != nullptr) {
        rc = RegSetValueExA(key, "DisplayIcon", 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(displayIcon->c_str()),
                            DWORD(displayIcon->size() + 1));
        RegCloseKey(key);
    }
    Must(rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND, "could not change the game's entry");
}

std::string ClassOf(HWND hwnd) {
    char buf[256] = {};
    GetClassNameA(hwnd, buf, sizeof buf);
    return buf;
}

DWORD_PTR SendTo(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    DWORD_PTR result = 0;
    Must(SendMessageTimeoutA(hwnd, msg, wp, lp, SMTO_NORMAL, kWaitMs, &result),
         "expected an answer to message " + std::to_string(msg) + ", got none");
    return result;
}

// The text through WM_GETTEXT, which edit controls of another process need.
std::string TextOf(HWND hwnd) {
    std::vector<char> buf(SendTo(hwnd, WM_GETTEXTLENGTH) + 2, '\0');
    DWORD_PTR copied = SendTo(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
    return std::string(buf.data(), std::min<std::size_t>(copied, buf.size()));
}

struct WindowQuery {
    DWORD pid;
    const char* cls;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param) {
    auto* query = reinterpret_cast<WindowQuery*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == query->pid && IsWindowVisible(hwnd) && ClassOf(hwnd) == query->cls) {
        query->found = hwnd;
    }
    return query->found == nullptr;
}

BOOL CALLBACK FindIcon(HWND child, LPARAM param) {
    DWORD_PTR icon = 0;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && ClassOf(child) == "Static" &&
        SendMessageTimeoutA(child, STM_GETICON, 0, 0, SMTO_NORMAL, kWaitMs, &icon) && icon) {
        *reinterpret_cast<bool*>(param) = true;
    }
    return TRUE;
}

// A message box or the input box, as it showed itself.
struct Box {
    HWND hwnd;
    std::string title, text;  // text: the message, or the input box's prompt
    bool input, icon;
    std::string Describe() const { return (input ? "input box " : "message box ") + Quote(text); }
};

Box ReadBox(HWND hwnd) {
    char title[512] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    bool input = GetDlgItem(hwnd, kInputPromptId) && GetDlgItem(hwnd, kInputEditId);
    HWND text = GetDlgItem(hwnd, input ? kInputPromptId : kBoxTextId);
    bool icon = false;
    EnumChildWindows(hwnd, FindIcon, reinterpret_cast<LPARAM>(&icon));
    return {hwnd, title, text ? TextOf(text) : "<no text control>", input, icon};
}

// Completion of a message sent without waiting (SendMessageCallback).
struct Pending {
    bool done = false;
};

void CALLBACK OnReply(HWND, UINT, ULONG_PTR data, LRESULT) {
    reinterpret_cast<Pending*>(data)->done = true;
}

// ---------------------------------------------------------------------------------------------
// The machine, and one case's run of the program on it

struct World {
    std::string velkinDir = "C:\\velkin", velkin = velkinDir + "\\Velkin.exe";
    std::string usrTmp = velkinDir + "\\usr.tmp", emptyDir = velkinDir + "\\empty folder";
    std::string docs;  // C:\users\<name>\Documents\Corvane
    std::string gameDir = "C:\\Games\\Corvane Test", game = gameDir + "\\Corvane.exe";
    std::string gameRecord = gameDir + "\\launch-record.txt";
    // Found first if the path were started unquoted: it must never run.
    std::string decoy = "C:\\Games\\Corvane.exe", decoyRecord = "C:\\Games\\launch-record.txt";
    std::map<std::string, std::string> golden;  // in, out, empty, edited
    std::deque<Pending>* pending = nullptr;     // outlives every case: late replies land here
    HWND owner = nullptr;                       // for the clipboard
};

struct Test : World {
    explicit Test(const World& w) : World(w) {}
    ~Test() {
        if (process && !detached && Running()) {
            TerminateProcess(process.get(), 99);
            WaitForSingleObject(process.get(), kWaitMs);
        }
    }

    std::vector<std::string> failures;
    Handle process, held;  // held: a file kept open without sharing
    DWORD pid = 0;
    HWND main = nullptr;
    bool detached = false;
    std::string arg;             // what follows the ':' of the step running
    std::string folder = docs;   // the settings folder of the case
    std::string failing, drive;  // the file that the next failing save names; the small disk
    DWORD reason = 0;            // the error it gives as the reason, 0 for any

    void Expect(bool ok, const std::string& failure) {
        if (!ok) {
            failures.push_back(failure);
        }
    }
    void Equal(const std::string& what, const std::string& expected, const std::string& got) {
        Expect(expected == got, what + ": expected " + Quote(expected) + ", got " + Quote(got));
    }
    void Equal(const std::string& what, long long expected, long long got) {
        Expect(expected == got,
               what + ": expected " + std::to_string(expected) + ", got " + std::to_string(got));
    }

    void Spawn() {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::string commandLine = "\"" + velkin + "\"";
        // Started from its own folder, where it reads usr.tmp back.
        Must(CreateProcessA(velkin.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                            velkinDir.c_str(), &si, &pi),
             "could not start " + velkin + ": " + ErrorText());
        process.reset(pi.hProcess);
        CloseHandle(pi.hThread);
        pid = pi.dwProcessId;
    }
    bool Running() const { return WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT; }
    long long ExitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(process.get(), &code);
        return code;
    }

    // Polls until `ready` holds, pumping this thread's messages meanwhile.
    template <typename Ready>
    void WaitFor(const std::string& what, Ready ready) {
        for (DWORD start = GetTickCount(); !ready();) {
            Must(Running(), "expected " + what + ", got the program's end (exit code " +
                                std::to_string(ExitCode()) + ")");
            Must(GetTickCount() - start < kWaitMs, "expected " + what + " in time, got nothing");
            HANDLE h = process.get();
            MsgWaitForMultipleObjects(1, &h, FALSE, kPollMs, QS_ALLINPUT);
            for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) {
                DispatchMessageA(&msg);
            }
        }
    }

    HWND Find(const char* cls) const {
        WindowQuery query{pid, cls, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
        return query.found;
    }
    // Fails if a box is open where the program should show none.
    void NoBox(const std::string& when) {
        if (HWND box = Find(kBoxClass)) {
            throw Abort(when + ": expected no box, got the " + ReadBox(box).Describe());
        }
    }

    Box WaitBox(const std::string& what) {
        HWND hwnd = nullptr;
        WaitFor(what, [&] { return (hwnd = Find(kBoxClass)) != nullptr; });
        Box box = ReadBox(hwnd);
        Expect(box.title.rfind("Velkin by ", 0) == 0 && box.title.size() > 10,
               "title of the " + box.Describe() + ": expected \"Velkin by <author>\", got " +
                   Quote(box.title));
        return box;
    }

    void Press(const Box& box, int button) {
        HWND b = GetDlgItem(box.hwnd, button);
        Must(b, "expected button " + std::to_string(button) + " in the " + box.Describe());
        PostMessageA(b, BM_CLICK, 0, 0);
        WaitFor("the " + box.Describe() + " to close",
                [&] { return !IsWindow(box.hwnd) || !IsWindowVisible(box.hwnd); });
    }

    // Presses `button` in a message box with exactly `text`, or beginning so if it ends in
    // ':'. `icon`: 0 none, 1 shown, -1 either.
    Box Answer(const std::string& text, int button = IDOK, int icon = 0) {
        Box box = WaitBox("the message box " + Quote(text));
        bool head = text.back() == ':' && Lower(box.text).rfind(Lower(text), 0) == 0;
        Must(!box.input && (head || box.text == text),
             "expected the message box " + Quote(text) + ", got the " + box.Describe());
        Expect(icon < 0 || box.icon == (icon == 1),
               "message box " + Quote(text) + ": expected " + (icon ? "an" : "no") + " icon");
        Press(box, button);
        return box;
    }

    // A box "Could not <verb> <file>:<reason>", its reason the system's text for `reason`.
    void AnswerFailure(const std::string& verb, const std::string& file) {
        Box box = Answer("Could not " + verb + " " + file + ":", IDOK, -1);
        std::string told = box.text.substr(verb.size() + file.size() + 12);
        Expect(told.find_first_not_of("\r\n ") != std::string::npos &&
                   (reason == 0 || told.find(ErrorText(reason)) != std::string::npos),
               "reason in the " + box.Describe() + ": expected " +
                   (reason ? Quote(ErrorText(reason)) : "one") + ", got another");
    }

    void Start(bool yes, bool detected) {
        Spawn();
        Box question = WaitBox("the start-up question");
        HWND yesButton = GetDlgItem(question.hwnd, IDYES);
        Expect(yesButton && GetDlgItem(question.hwnd, IDNO) &&
                   (GetWindowLongA(yesButton, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON,
               "start-up question: expected the buttons Yes (the default) and No, got others");
        Answer(kQuestion, yes ? IDYES : IDNO);
        if (detected) {
            Answer(kDetected);
        }
        WaitMain();
    }
    void WaitMain() {
        WaitFor("the main window", [&] {
            NoBox("before the main window");
            return (main = Find(kMainClass)) != nullptr;
        });
    }

    HWND Control(int id) {
        HWND hwnd = GetDlgItem(main, id);
        Must(hwnd, "expected " + Name(id) + " in the main window, got none");
        return hwnd;
    }
    std::string Text(int id) { return TextOf(Control(id)); }
    void SetText(HWND hwnd, const std::string& text) {
        Must(SendTo(hwnd, WM_SETTEXT, 0, LPARAM(text.c_str())), "could not set " + Quote(text));
    }

    // Sends without blocking this thread; the program may open a modal box meanwhile.
    Pending& Send(HWND hwnd, UINT msg, WPARAM wp = 0) {
        Pending& p = pending->emplace_back();
        Must(SendMessageCallbackA(hwnd, msg, wp, 0, OnReply, ULONG_PTR(&p)),
             "could not send message " + std::to_string(msg) + ": " + ErrorText());
        return p;
    }
    Pending& Menu(WPARAM command) { return Send(main, WM_COMMAND, command); }
    Pending& Click(int id) { return Send(Control(id), BM_CLICK); }
    // Waits until the program has handled `p`, with no box shown.
    void Quiet(Pending& p, const std::string& what) {
        WaitFor(what + " to end", [&] {
            NoBox("after " + what);
            return p.done;
        });
    }
    void ClickQuiet(int id) { Quiet(Click(id), "the click on " + Name(id)); }

    // The read through the input box: `typed` entered, or the box cancelled if null.
    void ReadTyped(const std::string* typed) {
        Pending& p = Click(kCommand1);
        Box box = WaitBox("the input box");
        Must(box.input, "expected the input box, got the " + box.Describe());
        Equal("prompt of the input box", kPrompt, box.text);
        HWND edit = GetDlgItem(box.hwnd, kInputEditId);
        Equal("input field when the box opens", "", TextOf(edit));
        SetText(edit, typed ? *typed : "");
        Press(box, typed ? IDOK : IDCANCEL);
        Quiet(p, "the read");
    }

    // A save, with the backup box first or not, ending in the box `end`, or failing at `failing`.
    void Save(bool backup, const char* end) {
        Pending& p = Menu(kMenuSave);
        if (backup) {
            Answer(kBackupBox, IDOK, 1);
        }
        // Not shown when the backup fails.
        if (end ? std::string(end) == kWritten : failing.back() == 'g') {
            Answer(kGenerated);
        }
        end ? void(Answer(end, IDOK, -1)) : AnswerFailure("write", failing);
        Quiet(p, "Save");
    }

    // The check boxes and text boxes as fresh (`read` false), or after reading sample-input.cfg.
    void ExpectControls(bool read) {
        std::string when = read ? " after reading sample-input.cfg" : " before any read";
        for (int n = 1; n <= 14; ++n) {
            if (n <= 13) {
                Equal(Name(kCheck + n) + when, read ? kSampleChecks[n - 1] - '0' : 0,
                      SendTo(Control(kCheck + n), BM_GETCHECK));
            }
            Equal(Name(kText + n) + when, read ? kSampleTexts[n - 1] : "", Text(kText + n));
        }
    }

    // `folder` holds the golden files that `arg` names ("<cfg>,<cf0>", "-" for none), byte for
    // byte, and nothing else: no temporary file, no other file.
    void ExpectFiles() {
        std::map<std::string, std::string> got = ListFolder(folder);
        std::vector<std::string> want = Split(arg, ",");
        for (std::string name : {"Environment.cfg", "Environment.cf0"}) {
            std::string gold = want[name.back() == 'g' ? 0 : 1], path = folder + "\\" + name;
            if (!got.count(name) || gold == "-") {
                Expect(!got.count(name) && gold == "-",
                       path + ": expected " + (gold == "-" ? "no file" : gold) + ", got " +
                           (got.count(name) ? "one" : "none"));
            } else if (got[name] != golden[gold]) {
                failures.push_back(path + ": expected " + gold + ", got a difference at " +
                                   FirstDifference(golden[gold], got[name]));
            }
            got.erase(name);
        }
        for (const auto& other : got) {
            failures.push_back(folder + "\\" + other.first + ": expected no such file, got one");
        }
    }

    // Waits for the process to end by itself, with exit code 0.
    void WaitEnd(const std::string& what) {
        for (DWORD start = GetTickCount(); Running(); WaitForSingleObject(process.get(), kPollMs)) {
            NoBox("waiting for " + what);
            Must(GetTickCount() - start < kWaitMs, "expected " + what + ", got a program running");
        }
        Equal("exit code", 0, ExitCode());
    }
};

// ---------------------------------------------------------------------------------------------
// Steps with more to them

class ClipboardOpen {
  public:
    explicit ClipboardOpen(HWND owner) {
        for (int i = 0; i < 250 && !OpenClipboard(owner); ++i) {
            Sleep(kPollMs);  // another program may hold it for a moment
        }
        Must(GetOpenClipboardWindow() == owner, "could not open the clipboard: " + ErrorText());
    }
    ~ClipboardOpen() { CloseClipboard(); }
};

void PutOnClipboard(UINT format, const std::string& data) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, data.size() + 1);
    data.copy(static_cast<char*>(GlobalLock(mem)), data.size() + 1);
    GlobalUnlock(mem);
    Must(SetClipboardData(format, mem), "could not fill the clipboard: " + ErrorText());
}

std::string ClipboardText(HWND owner) {
    ClipboardOpen open(owner);
    HANDLE mem = GetClipboardData(CF_TEXT);
    const char* text = mem ? static_cast<const char*>(GlobalLock(mem)) : nullptr;
    std::string s = text ? text : "<no CF_TEXT on the clipboard>";
    GlobalUnlock(mem);
    return s;
}

void CheckAbout(Test& t) {
    Pending& p = t.Menu(kMenuAbout);
    Box box = t.WaitBox("the About box");
    std::vector<std::string> lines = Split(box.text, "\r\n");
    t.Equal("lines in the About box", 7, lines.size());
    lines.resize(7);
    t.Equal("About line 1", "Velkin v0.2.1 by " + box.title.substr(10), lines[0]);
    t.Equal("About line 2", "CORVANE Advanced Config Tool v0.2.1", lines[1]);
    t.Equal("About line 3", "Beta Release, Writes Enabled!", lines[2]);
    t.Expect(lines[5].rfind("BitCoin: ", 0) == 0 && lines[5].size() > 9,
             "About line 6: expected \"BitCoin: <address>\", got " + Quote(lines[5]));
    t.Equal("Label15 against the About box", "BitCoin " + lines[5].substr(9), t.Text(kLabel + 15));
    t.Expect(!lines[3].empty() && !lines[4].empty() && !lines[6].empty(),
             "About lines 4, 5 and 7: expected contact lines, got an empty one");
    t.Expect(!box.icon, "About box: expected no icon, got one");
    t.Press(box, IDOK);
    t.Quiet(p, "the About box");
}

// Each click on Label15 replaces all on the clipboard with the address.
void CheckClipboard(Test& t) {
    std::string label = t.Text(kLabel + 15);
    t.Expect(label.rfind("BitCoin ", 0) == 0 && label.size() > 8,
             "Label15: expected \"BitCoin <address>\", got " + Quote(label));
    HWND donation = t.Control(kLabel + 15);
    t.Expect(
        Lower(ClassOf(donation)) == "static" && (GetWindowLongA(donation, GWL_STYLE) & SS_NOTIFY),
        "Label15: expected a static control with SS_NOTIFY, got another");
    UINT marker = RegisterClipboardFormatA("VelkinE2EMarker");
    for (std::string click : {"1", "2"}) {
        {
            ClipboardOpen open(t.owner);
            EmptyClipboard();
            PutOnClipboard(CF_TEXT, "earlier clipboard text");
            PutOnClipboard(marker, "earlier private data");
        }
        // A click as the mouse gives it.
        PostMessageA(donation, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        PostMessageA(donation, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        t.Answer(kClipboardBox);
        t.Equal("clipboard text after click " + click, label.substr(8), ClipboardText(t.owner));
        t.Expect(
            !IsClipboardFormatAvailable(marker),
            "earlier clipboard data after click " + click + ": expected gone, got still there");
    }
}

// Each launch adds a line to the record, of tab-separated fields: path, command line, folder,
// STARTF_USESHOWWINDOW, show state, maximised. A launch of the decoy writes the decoy's record.
void CheckLaunch(Test& t) {
    std::string record, decoy;
    for (std::size_t lines = 2; lines <= 3; ++lines) {
        t.Quiet(t.Menu(kMenuLaunch), "launch");
        t.WaitFor("launch record " + std::to_string(lines - 1), [&] {
            return (ReadWhole(t.gameRecord, record) && Split(record, "\r\n").size() == lines) ||
                   (ReadWhole(t.decoyRecord, decoy) && !decoy.empty());
        });
        Must(decoy.empty(), "game started: expected " + t.game + ", got " + t.decoy);
    }
    std::vector<std::string> f = Split(Split(record, "\r\n")[0], "\t");
    f.resize(6);
    t.Equal("game started", Lower(t.game), Lower(f[0]));
    t.Expect(!f[1].empty(), "game's command line: expected its path, got nothing");
    t.Equal("game's folder", Lower(t.gameDir), Lower(f[2]));
    t.Equal("game's STARTF_USESHOWWINDOW, show state, maximised", "1 3 1",
            f[3] + " " + f[4] + " " + f[5]);
}

void CheckLaunchFails(Test& t) {
    Pending& p = t.Menu(kMenuLaunch);
    Box box = t.WaitBox("a box about the missing game");
    t.Expect(!box.input && !box.text.empty(),
             "expected an error message, got the " + box.Describe());
    t.Press(box, IDOK);
    t.Quiet(p, "the failed launch");
    t.Expect(!Exists(t.gameRecord) && !Exists(t.decoyRecord),
             "launch without the game: expected no program started, got a launch record");
}

int Focus(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0;
}

void PressTab(bool shift) {
    const WORD keys[] = {VK_SHIFT, VK_TAB, VK_TAB, VK_SHIFT};  // down, down, up, up
    std::vector<INPUT> input;
    for (int i = shift ? 0 : 1; i < (shift ? 4 : 3); ++i) {
        input.emplace_back().type = INPUT_KEYBOARD;
        input.back().ki.wVk = keys[i];
        input.back().ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(UINT(input.size()), input.data(), sizeof(INPUT));
}

// The focus order, as the dialog manager has it or (`keys`) as the Tab key walks it.
void CheckTabs(Test& t, bool keys) {
    t.WaitFor("the focus on Command1 at the start", [&] { return Focus(t.main) == kCommand1; });
    SetForegroundWindow(t.main);
    t.WaitFor("the main window in the foreground", [&] { return GetForegroundWindow() == t.main; });
    int at = kCommand1;
    for (int id : kTabOrder) {
        HWND next = GetNextDlgTabItem(t.main, t.Control(at), FALSE);
        if (keys) {
            PressTab(false);
            for (DWORD start = GetTickCount();
                 Focus(t.main) == at && GetTickCount() - start < 5000;) {
                Sleep(kPollMs);
            }
        }
        int got = keys ? Focus(t.main) : next ? GetDlgCtrlID(next) : 0;
        Must(got == id, (keys ? "Tab from " : "tab stop after ") + Name(at) + ": expected " +
                            Name(id) + ", got " + Name(got));
        at = id;
    }
    if (keys) {
        PressTab(true);
        t.WaitFor("Shift+Tab to leave Command1", [&] { return Focus(t.main) != kCommand1; });
        t.Equal("focus after Shift+Tab from Command1", Name(kCheck + 1), Name(Focus(t.main)));
    }
}

// Every control where the twips table puts it at the display's DPI. Labels fit their caption,
// so they may be larger, but they never reach into the next control of their row.
void CheckLayout(Test& t) {
    const char* env = std::getenv("VELKIN_E2E_DPI");
    int dpi = env ? std::atoi(env) : 96;
    HDC screen = GetDC(nullptr);
    t.Equal("display DPI (LOGPIXELSY)", dpi, GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    std::vector<TwipsRect> rows(std::begin(kOwnRows), std::end(kOwnRows));
    for (const auto& r : kCheckRows) {
        rows.push_back({kLabel + r[0], 540, r[1], r[2], 210});
        rows.push_back({kCheck + r[0], 2580, r[1], 175, 195});
    }
    for (const auto& r : kValueRows) {
        rows.push_back({kLabel + r[0], r[1], r[2], r[3], 210});
        rows.push_back({kText + r[4], r[5], r[2], r[6], 285});
    }
    auto px = [&](int twips) { return MulDiv(twips, dpi, 1440); };
    auto show = [](long left, long top, long width, long height) {
        return std::to_string(left) + "," + std::to_string(top) + " " + std::to_string(width) +
               "x" + std::to_string(height);
    };
    RECT client;
    GetClientRect(t.main, &client);
    t.Equal("client area", show(0, 0, px(6135), px(4950)), show(0, 0, client.right, client.bottom));
    for (const TwipsRect& r : rows) {
        RECT got;
        GetWindowRect(t.Control(r.id), &got);
        MapWindowPoints(nullptr, t.main, reinterpret_cast<POINT*>(&got), 2);
        long width = got.right - got.left, height = got.bottom - got.top, next = LONG_MAX;
        for (const TwipsRect& o : rows) {
            next = o.top == r.top && o.left > r.left ? std::min<long>(next, px(o.left)) : next;
        }
        // A label may grow to fit its caption, but not into the next control of its row (the
        // design's own Label1, Label9 and Label10 reach 15 twips into their check boxes).
        next = std::max(next, long(px(r.left) + px(r.width)));
        if (r.id > kLabel && width >= px(r.width) && height >= px(r.height) && got.right <= next) {
            width = px(r.width);
            height = px(r.height);
        }
        std::string room =
            next == LONG_MAX ? "" : ", its right edge at most " + std::to_string(next);
        t.Equal(Name(r.id) + (r.id > kLabel ? " (a label may be larger" + room + ")" : ""),
                show(px(r.left), px(r.top), px(r.width), px(r.height)),
                show(got.left, got.top, width, height));
    }
}

// Fills the small disk all but for less than a written settings file needs.
void Fill(Test& t) {
    t.failing = t.folder + "\\Environment.cfg";
    t.reason = ERROR_DISK_FULL;
    std::ofstream filler(t.drive + "\\filler", std::ios::binary);
    for (std::string block(4096, 'f'); filler.write(block.data(), 4096) && filler.flush();) {
    }
    ULARGE_INTEGER left{};
    GetDiskFreeSpaceExA(t.folder.c_str(), &left, nullptr, nullptr);
    Must(left.QuadPart < t.golden["out"].size(),
         "filling " + t.drive + ": expected less room left than a file needs, got " +
             std::to_string(left.QuadPart) + " bytes");
}

// ---------------------------------------------------------------------------------------------
// The steps and the cases

const std::pair<const char*, void (*)(Test&)> kSteps[] = {
    // The files before the start: sample-input.cfg, and for "seed" an older backup beside it.
    {"sample", [](Test& t) { WriteWhole(t.folder + "\\Environment.cfg", t.golden["in"]); }},
    {"seed",
     [](Test& t) {
         WriteWhole(t.folder + "\\Environment.cfg", t.golden["in"]);
         WriteWhole(t.folder + "\\Environment.cf0", t.golden["empty"]);
     }},
    {"drive",
     [](Test& t) {
         const char* drive = std::getenv("VELKIN_E2E_FULL_DRIVE");
         Must(drive, "expected a small drive from run-e2e.sh in VELKIN_E2E_FULL_DRIVE, got none");
         t.drive = drive;
         t.folder = t.drive + "\\Corvane";
         Remove(t.drive + "\\filler");
         MakeFolder(t.folder);
     }},
    {"no-game", [](Test&) { RegisterGame(nullptr); }},
    // Start-up, answered No, or Yes with the settings file found or not.
    {"no", [](Test& t) { t.Start(false, false); }},
    {"yes", [](Test& t) { t.Start(true, true); }},
    {"yes-lost", [](Test& t) { t.Start(true, false); }},
    {"usrtmp-gone", [](Test& t) { t.WaitFor("usr.tmp gone", [&] { return !Exists(t.usrTmp); }); }},
    {"title",
     [](Test& t) {
         char title[256] = {};
         GetWindowTextA(t.main, title, sizeof title);
         t.Equal("window title", kTitle, title);
     }},
    {"set", [](Test& t) { t.Equal("Label28", "Set.", t.Text(kLabel + 28)); }},
    {"notset", [](Test& t) { t.Equal("Label28", "NOT Set.", t.Text(kLabel + 28)); }},
    // Reads: with the folder known, typed into the input box, or the box cancelled.
    {"read", [](Test& t) { t.ClickQuiet(kCommand1); }},
    {"type", [](Test& t) { t.ReadTyped(&t.folder); }},
    {"type-empty",
     [](Test& t) {
         t.folder = t.emptyDir;
         t.ReadTyped(&t.folder);
     }},
    {"cancel", [](Test& t) { t.ReadTyped(nullptr); }},
    {"readfail",
     [](Test& t) {
         Pending& p = t.Click(kCommand1);
         t.AnswerFailure("read", t.failing);
         t.Quiet(p, "the failed read");
     }},
    {"fresh", [](Test& t) { t.ExpectControls(false); }},
    {"shown", [](Test& t) { t.ExpectControls(true); }},
    // Clicks toggle the boxes as the user's would; a trailing blank is kept.
    {"edit",
     [](Test& t) {
         t.ClickQuiet(kCheck + 1);
         t.ClickQuiet(kCheck + 13);
         t.SetText(t.Control(kText + 1), "2560 ");
         t.SetText(t.Control(kText + 9), "");
     }},
    {"save", [](Test& t) { t.Save(false, kWritten); }},
    {"backup", [](Test& t) { t.Save(true, kWritten); }},
    {"nothing", [](Test& t) { t.Save(false, kNothingToSave); }},
    {"failsave", [](Test& t) { t.Save(false, nullptr); }},
    {"failbackup", [](Test& t) { t.Save(true, nullptr); }},
    // Faults of the disk, and their end.
    {"hold",
     [](Test& t) {
         t.failing = t.folder + "\\Environment." + t.arg;
         t.held.reset(CreateFileA(t.failing.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
         Must(t.held.get() != INVALID_HANDLE_VALUE, "could not open " + t.failing);
     }},
    {"release", [](Test& t) { t.held.reset(); }},
    {"readonly",
     [](Test& t) {
         t.failing = t.folder + "\\Environment.cfg";
         t.reason = ERROR_ACCESS_DENIED;
         SetFileAttributesA(t.failing.c_str(), FILE_ATTRIBUTE_READONLY);
     }},
    {"writable", [](Test& t) { SetFileAttributesA(t.failing.c_str(), FILE_ATTRIBUTE_NORMAL); }},
    {"rmdir",
     [](Test& t) {
         t.failing = t.folder + "\\Environment.cfg";
         std::error_code ignored;
         fs::remove_all(t.folder, ignored);
         Must(!Exists(t.folder), "could not delete " + t.folder);
     }},
    {"mkdir",
     [](Test& t) {
         t.Expect(!Exists(t.folder), t.folder + ": expected still gone, got it made again");
         MakeFolder(t.folder);
     }},
    {"fill", Fill},
    {"unfill", [](Test& t) { Remove(t.drive + "\\filler"); }},
    {"files", [](Test& t) { t.ExpectFiles(); }},
    {"about", CheckAbout},
    {"clipboard", CheckClipboard},
    {"launch", CheckLaunch},
    {"launch-fails", CheckLaunchFails},
    {"taborder", [](Test& t) { CheckTabs(t, false); }},
    {"tabkeys", [](Test& t) { CheckTabs(t, true); }},
    {"layout", CheckLayout},
    // The end: the close button, or File > exit; neither asks anything.
    {"close",
     [](Test& t) {
         PostMessageA(t.main, WM_CLOSE, 0, 0);
         t.WaitEnd("the program's end after closing its window");
     }},
    {"exit",
     [](Test& t) {
         PostMessageA(t.main, WM_COMMAND, kMenuExit, 0);
         t.WaitEnd("the program's end after File > exit, with no question");
         t.Expect(!IsWindow(t.main), "main window after exit: expected gone, got still there");
     }},
};

// Each case a script of steps, run on a fresh machine: the Corvane folder in Documents empty,
// the game installed. "files:<cfg>,<cf0>" names the golden files that the folder holds.
const std::pair<const char*, const char*> kCases[] = {
    {"start-up answered No", "sample no title notset fresh close files:in,-"},
    {"start-up answered Yes, settings file found", "sample yes title set fresh usrtmp-gone close"},
    {"start-up answered Yes, no settings file", "yes-lost notset cancel close"},
    {"read sample-input.cfg into the controls",
     "sample no type shown read shown notset close files:in,-"},
    {"save with backup after detection",
     "sample yes read shown backup files:out,in backup files:out,in close"},
    {"save without backup after a typed folder", "sample no type shown save files:out,- close"},
    {"edited controls reach the written file", "sample no type edit save files:edited,- close"},
    {"input box cancelled, then answered",
     "sample no cancel fresh nothing type shown close files:in,-"},
    {"folder without a settings file, save writes the empty template",
     "no type-empty fresh save files:empty,- close"},
    {"save before any read, after No", "sample no nothing close files:in,-"},
    // The marker says "Set.", yet no backup of nothing may replace anything.
    {"save before any read, after detection", "sample yes nothing close files:in,-"},
    // The backup comes first: a failure of the settings file finds it written.
    {"locked settings file: read and write failures",
     "sample yes hold:cfg readfail release fresh read shown hold:cfg failbackup release "
     "files:in,in hold:cf0 failbackup release files:in,in backup files:out,in close"},
    // Each fault: the files as they were, no temporary file left, the program going on.
    {"save fails: read-only settings file",
     "seed no type readonly failsave files:in,empty shown writable save files:out,empty close"},
    {"save fails: settings file held open",
     "seed no type hold:cfg failsave release files:in,empty shown save files:out,empty close"},
    {"save fails: folder deleted after the read",
     "seed no type rmdir failsave mkdir files:-,- shown save files:out,- close"},
    {"save fails: disk full",
     "drive seed no type fill failsave files:in,empty shown unfill save files:out,empty close"},
    {"About box text", "no about close"},
    {"donation label puts the address on the clipboard", "no clipboard close"},
    {"launch starts the game maximised in its folder", "no launch close"},
    {"launch without the game installed", "no-game no launch-fails close"},
    {"exit closes without a question", "sample no type edit exit files:in,-"},
    {"tab stops in focus order", "no taborder close"},
    {"Tab key walks the focus order", "no tabkeys close"},
    {"layout at the display's DPI", "no layout close"},
};

void RunSteps(Test& t, const std::string& script) {
    std::istringstream words(script);
    for (std::string word; words >> word;) {
        std::string name = word.substr(0, word.find(':'));
        t.arg = word.substr(std::min(word.size(), name.size() + 1));
        auto step = std::find_if(std::begin(kSteps), std::end(kSteps),
                                 [&](const auto& s) { return name == s.first; });
        Must(step != std::end(kSteps), "unknown step " + Quote(word));
        step->second(t);
    }
}

// Copies Velkin and the stand-in game into place and reads the golden files.
void SetUp(World& w, const std::string& velkin, const std::string& golden) {
    char user[256] = "root", own[MAX_PATH * 2] = {};
    GetEnvironmentVariableA("USERNAME", user, sizeof user);
    w.docs = std::string("C:\\users\\") + user + "\\Documents\\Corvane";
    GetModuleFileNameA(nullptr, own, sizeof own);
    fs::path stub = fs::path(own).parent_path() / "corvane_stub.exe";
    for (auto file :
         {std::make_pair("in", "\\sample-input.cfg"), std::make_pair("out", "\\sample-output.cfg"),
          std::make_pair("empty", "\\empty-output.cfg")}) {
        Must(ReadWhole(golden + file.second, w.golden[file.first]),
             "could not read " + golden + file.second);
    }
    std::string& edited = w.golden["edited"] = w.golden["out"];
    edited = ReplaceLine(ReplaceLine(edited, "SND_ENABLE=1", "SND_ENABLE=0"), "XR_GRAIN=0",
                         "XR_GRAIN=1");
    edited = ReplaceLine(ReplaceLine(edited, "VID_DWIDTH=1920", "VID_DWIDTH=2560 "),
                         "XR_LODOFFSET=-0.25", "XR_LODOFFSET=");
    MakeFolder(w.velkinDir);
    MakeFolder(w.gameDir);
    for (auto copy : {std::make_pair(fs::path(velkin), w.velkin), std::make_pair(stub, w.game),
                      std::make_pair(stub, w.decoy)}) {
        std::error_code error;
        fs::copy_file(copy.first, copy.second, fs::copy_options::overwrite_existing, error);
        Must(!error, "could not copy " + copy.first.string() + ": " + error.message());
    }
}

int RunCases(World& w, const std::string& only) {
    int passed = 0, failed = 0;
    for (const auto& k : kCases) {
        if (std::string(k.first).find(only) == std::string::npos) {
            continue;
        }
        DWORD start = GetTickCount();
        Test t(w);
        try {
            for (const std::string& f :
                 {w.docs + "\\Environment.cfg", w.docs + "\\Environment.cf0", w.usrTmp,
                  w.gameRecord, w.decoyRecord, w.emptyDir + "\\Environment.cfg"}) {
                Remove(f);
            }
            MakeFolder(w.docs);
            MakeFolder(w.emptyDir);
            RegisterGame(&w.game);
            RunSteps(t, k.second);
        } catch (const Abort& e) {
            t.failures.push_back(e.what());
        }
        (t.failures.empty() ? passed : failed) += 1;
        std::printf("%s  %s (%.1f s)\n", t.failures.empty() ? "PASS" : "FAIL", k.first,
                    (GetTickCount() - start) / 1000.0);
        for (const std::string& f : t.failures) {
            std::printf("      %s\n", f.c_str());
        }
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}

// For the demo: the window as a user sees it after answering Yes and reading the settings.
void RunDemo(World& w, const std::string& velkin) {
    w.velkin = velkin;
    w.velkinDir = velkin.substr(0, velkin.find_last_of('\\'));
    Test t(w);
    t.Spawn();
    t.Answer(kQuestion, IDYES);
    t.WaitFor("the main window or a box", [&] { return t.Find(kBoxClass) || t.Find(kMainClass); });
    if (t.Find(kBoxClass)) {
        t.Press(t.WaitBox("the box after detection"), IDOK);
    }
    t.WaitMain();
    t.ClickQuiet(kCommand1);
    t.detached = true;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    // Window rectangles in the display's pixels, whatever its DPI (user32 of Vista on).
    FARPROC dpiAware = GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDPIAware");
    if (dpiAware != nullptr) {
        reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void*>(dpiAware))();
    }
    World w;
    std::deque<Pending> pending;
    w.pending = &pending;
    w.owner = CreateWindowExA(0, "STATIC", "velkin-e2e", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              nullptr, nullptr);
    bool demo = argc == 3 && std::string(argv[1]) == "--demo";
    if (!demo && argc != 3 && argc != 4) {
        std::printf(
            "usage: velkin_e2e <Velkin.exe> <golden folder> [case name part]\n"
            "       velkin_e2e --demo <Velkin.exe>\n");
        return 2;
    }
    try {
        demo ? RunDemo(w, argv[2]) : SetUp(w, argv[1], argv[2]);
    } catch (const Abort& e) {
        std::printf("%s: %s\n", demo ? "demo" : "setup", e.what());
        return demo ? 1 : 2;
    }
    if (demo) {
        std::printf("demo: Velkin is running with the settings read\n");
        return 0;
    }
    return RunCases(w, argc == 4 ? argv[3] : "");
}
