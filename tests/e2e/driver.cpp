// End-to-end tests of Velkin.exe under Wine: each case starts the real program, answers its
// boxes and works its window from outside, then checks the window and the files on disk. Only
// what needs the real program is here; the core's rules have unit tests of their own.
//   velkin_e2e <Velkin.exe> <golden folder> [case name part]   runs the cases
//   velkin_e2e --demo <Velkin.exe>   starts Velkin, answers Yes, reads, leaves it running
// VELKIN_E2E_DPI: the display's DPI that run-e2e.sh set (96 when unset).
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <tuple>
#include <utility>

#include "harness.h"

namespace {

using namespace e2e;
namespace fs = std::filesystem;

const char kTitle[] = "Velkin - Corvane Advanced Config Tool v0.2.1";
const char kQuestion[] = "Would you like to try and automatically detect settings path?";
const char kGamma[] = "1.0\r\nFORCESPECTATOR=1";
// What a read of sample-input.cfg shows in Check1..13 and Text1..14.
const char kSampleChecks[] = "1101010101010";
const char* const kSampleTexts[] = {"1920", "1080",  "2048", "4", "8",    "1.15", "0.9 1.0 1.1",
                                    "2",    "-0.25", "1.5",  "3", "0.52", "0.07", "1.000000"};
const int kTabOrder[] = {201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211, 212, 213, 214,
                         113, 112, 111, 110, 109, 108, 107, 106, 105, 104, 103, 102, 101, 100};

// The machine. A cmd.exe planted beside Velkin.exe, like the game and its decoy, writes a
// launch record beside itself if it ever runs. The decoy is what an unquoted start of the
// game's path would run, and what the 64-bit registry view names.
std::string velkin = "C:\\velkin\\Velkin.exe", velkinDir = "C:\\velkin";  // the demo's elsewhere
const std::string kUsrTmp = velkinDir + "\\usr.tmp", kEmptyDir = velkinDir + "\\empty folder";
const std::string kGameDir = "C:\\Games\\Corvane Test", kGame = kGameDir + "\\Corvane.exe";
const std::string kDecoy = "C:\\Games\\Corvane.exe", kRecord = "\\launch-record.txt";
const std::string kRecords[] = {velkinDir + kRecord, kGameDir + kRecord, "C:\\Games" + kRecord};
std::string docs;                           // C:\users\<name>\Documents\Corvane
std::map<std::string, std::string> golden;  // in, out, gamma
HWND owner = nullptr;                       // for the clipboard

std::string Quote(const std::string& s) {
    std::string out;
    for (char c : s) {
        out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
    }
    return "\"" + out + "\"";
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

std::vector<std::string> Split(const std::string& s, const std::string& sep) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    for (std::size_t next; (next = s.find(sep, at)) != std::string::npos; at = next + sep.size()) {
        fields.push_back(s.substr(at, next - at));
    }
    fields.push_back(s.substr(at));
    return fields;
}

std::string Name(int id) {
    const char* kinds[] = {"no control ", "Check", "Text", "Label"};
    return id == kCommand1 ? "Command1" : kinds[id / 100 % 4] + std::to_string(id % 100);
}

// The game's uninstall entry in one registry view, of type `type`; none if `type` is 0.
void RegisterGame(REGSAM view, DWORD type, const std::string& icon) {
    const char path[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane_is1";
    HKEY key = nullptr;
    LONG rc = type ? RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_SET_VALUE | view,
                                     nullptr, &key, nullptr)
                   : RegDeleteKeyExA(HKEY_LOCAL_MACHINE, path, view, 0);
    if (key != nullptr) {
        rc = RegSetValueExA(key, "DisplayIcon", 0, type, (const BYTE*)icon.c_str(),
                            DWORD(icon.size() + 1));
        RegCloseKey(key);
    }
    Must(rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND, "could not change the game's entry");
}

int Focus(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0;
}

// Real key strokes: `keys` pressed in order, then let go in reverse.
void PressKeys(std::vector<WORD> keys) {
    std::vector<INPUT> in(keys.size() * 2);
    for (std::size_t i = 0; i < in.size(); ++i) {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = keys[std::min(i, in.size() - 1 - i)];
        in[i].ki.dwFlags = i < keys.size() ? 0 : KEYEVENTF_KEYUP;
    }
    SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
}

// One case's run of the program.
struct Test {
    std::vector<std::string> failures;
    std::optional<Program> p;
    HWND main = nullptr;
    HANDLE held = INVALID_HANDLE_VALUE;  // Environment.cfg kept open without sharing
    bool* busy = nullptr;                // the handler of the last click or menu entry
    bool launched = false;
    std::string arg;     // what follows the ':' of the step running
    std::string before;  // Environment.cfg as the save found it

    void Expect(bool ok, const std::string& failure) {
        if (!ok) {
            failures.push_back(failure);
        }
    }
    void Equal(const std::string& what, const std::string& expected, const std::string& got) {
        Expect(expected == got, what + ": expected " + Quote(expected) + ", got " + Quote(got));
    }
    void Equal(const std::string& what, long long expected, long long got) {
        Equal(what, std::to_string(expected), std::to_string(got));
    }
    void NoBox(const std::string& when) {
        HWND box = p->Find(kBoxClass);
        Must(!box, when + ": expected no box, got the " + (box ? ReadBox(box).Describe() : ""));
    }
    Box WaitBox(const std::string& what = "a box") {
        Box box = ReadBox(p->WaitShown(kBoxClass, what));
        Expect(box.title.rfind("Velkin by ", 0) == 0 && box.title.size() > 10,
               "title of the " + box.Describe() + ": expected \"Velkin by <author>\", got " +
                   Quote(box.title));
        return box;
    }
    // Presses `button` in the box with exactly `text` (in any letter case if `anyCase`), or
    // beginning so if it ends in ':'. `icon`: 0 none, 1 shown, -1 either.
    Box Answer(const std::string& text, int icon, int button = IDOK, bool anyCase = false) {
        Box box = WaitBox("the message box " + Quote(text));
        bool head = text.back() == ':' && box.text.rfind(text, 0) == 0;
        bool same = box.text == text || (anyCase && Lower(box.text) == Lower(text));
        Must(!box.input && (head || same),
             "expected the message box " + Quote(text) + ", got the " + box.Describe());
        Expect(icon < 0 || box.icon == (icon == 1),
               box.Describe() + ": expected " + (icon ? "an icon, got none" : "no icon, got one"));
        p->Press(box.hwnd, button);
        return box;
    }
    // The start-up question and how the window waits for its answer.
    void Start(int answer, bool quick) {
        p.emplace(velkin, velkinDir);  // from its own folder, where it writes usr.tmp
        auto hidden = [&](bool ready) {
            Must(!p->Find(kMainClass), "main window: expected hidden before the answer, got shown");
            return ready;
        };
        p->WaitFor("the start-up question", [&] { return hidden(p->Find(kBoxClass) != nullptr); });
        if (!quick) {
            HWND w = nullptr;
            p->WaitFor("the main window built while the question is open",
                       [&] { return hidden((w = p->Find(kMainClass, false)) != nullptr); });
            Equal("main window's title before the answer", "Form1", TextOf(w));
        }
        Box q = WaitBox();
        HWND yes = GetDlgItem(q.hwnd, IDYES);
        Expect(yes && GetDlgItem(q.hwnd, IDNO) &&
                   (GetWindowLongA(yes, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON,
               "start-up question: expected the buttons Yes (the default) and No, got others");
        Answer(kQuestion, 0, answer);
    }
    void WaitMain() {
        p->WaitFor("the main window", [&] {
            NoBox("before the main window");
            return (main = p->Find(kMainClass)) != nullptr;
        });
    }
    HWND Control(int id) {
        HWND hwnd = GetDlgItem(main, id);
        Must(hwnd, "expected " + Name(id) + " in the main window, got none");
        return hwnd;
    }
    std::string Text(int id) { return TextOf(Control(id)); }
    // The check boxes and text boxes empty (`read` false), or after reading sample-input.cfg.
    void ExpectControls(bool read) {
        for (int n = 1; n <= 14; ++n) {
            if (n <= 13) {
                Equal(Name(kCheck + n), read ? kSampleChecks[n - 1] - '0' : 0,
                      SendTo(Control(kCheck + n), BM_GETCHECK));
            }
            Equal(Name(kText + n), read ? kSampleTexts[n - 1] : "", Text(kText + n));
        }
    }
    // Docs holds the golden files that `arg` names: "<cfg>,<cf0>", "-" for none.
    void ExpectFiles() {
        std::vector<std::string> want = Split(arg, ",");
        for (std::string name : {"Environment.cfg", "Environment.cf0"}) {
            std::string gold = want[name.back() == 'g' ? 0 : 1],
                        got = ReadWhole(docs + "\\" + name);
            Equal(docs + "\\" + name + " (golden file)", gold,
                  got == golden[gold]  ? gold
                  : got == "<no file>" ? "-"
                                       : "another");
        }
    }
};

// The boxes that steps answer by name: the text (a ':' at its end matches its beginning, '%'
// stands for the folder that the step names) and the icon: 0 none, 1 shown, -1 either.
const std::tuple<const char*, const char*, int> kBoxes[] = {
    {"detected", "Settings path auto-detected :) Click Set Environment.cfg to detect values.", 0},
    {"missing", "There is no Environment.cfg in %.\r\nSave settings would create one there.", 1},
    {"backup", "Creating Backup of Current Settings to Environment.cf0", 1},
    {"generated", "Config file generated! Press OK to write Environment.cfg!", -1},
    {"written", "Environment.cfg written successfully!", -1},
    {"failed", "Could not write %\\Environment.cfg:", 1},
    {"not-installed", "Corvane is not installed:", -1},
    {"copied", "BitCoin address now in clipboard! Ctrl+V to paste.", 0},
};

// A folder by name for the input box and the boxes, or the settings file's own name as users
// may type it.
std::string Folder(const std::string& key) {
    return key == "empty"    ? kEmptyDir
           : key == "quoted" ? "  \"" + docs + "\\ENVIRONMENT.CFG\"  "
                             : docs;
}

void RunStep(Test& t, const std::string& word);

// The window in front with the focus on Command1, where it is when the window shows.
void ToFront(Test& t) {
    t.p->WaitFor("the focus on Command1", [&] { return Focus(t.main) == kCommand1; });
    SetForegroundWindow(t.main);
    t.p->WaitFor("the main window in front", [&] { return GetForegroundWindow() == t.main; });
}

void Type(Test& t, int button) {
    Box box = t.WaitBox("the input box");
    Must(box.input, "expected the input box, got the " + box.Describe());
    SetText(GetDlgItem(box.hwnd, kInputEditId), Folder(t.arg));
    t.p->Press(box.hwnd, button);
}

// A click on Label15 replaces all that the clipboard held with the address.
void CheckClipboard(Test& t) {
    auto open = [] {
        for (int i = 0; i < 250 && !OpenClipboard(owner); ++i) {
            Sleep(20);  // another program may hold it for a moment
        }
        Must(GetOpenClipboardWindow() == owner, "could not open the clipboard");
    };
    UINT marker = RegisterClipboardFormatA("VelkinE2EMarker");
    open();
    EmptyClipboard();
    SetClipboardData(marker, GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 8));
    CloseClipboard();
    HWND donation = t.Control(kLabel + 15);  // clicked as the mouse does
    PostMessageA(donation, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageA(donation, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    RunStep(t, "copied");
    open();
    HANDLE mem = GetClipboardData(CF_TEXT);
    const char* text = mem ? static_cast<const char*>(GlobalLock(mem)) : nullptr;
    t.Equal("clipboard text, as Label15 shows it", t.Text(kLabel + 15),
            "BitCoin " + std::string(text ? text : "<none>"));
    GlobalUnlock(mem);
    t.Expect(!IsClipboardFormatAvailable(marker),
             "earlier clipboard data: expected gone, got kept");
    CloseClipboard();
}

// The record's line has tab-separated fields: path, command line, folder,
// STARTF_USESHOWWINDOW, show state, maximised.
void CheckLaunch(Test& t) {
    std::string record;
    t.p->WaitFor("the game's launch record", [&] {
        return Exists(kRecords[2]) || (record = ReadWhole(kRecords[1])) != "<no file>";
    });
    t.launched = true;
    std::vector<std::string> f = Split(Split(record, "\r\n")[0], "\t");
    f.resize(6);
    t.Equal("game started", Lower(kGame), Lower(f[0]));
    t.Equal("game's command line", "\"" + kGame + "\"", f[1]);
    t.Equal("game's folder", Lower(kGameDir), Lower(f[2]));
    t.Equal("game's STARTF_USESHOWWINDOW, show state, maximised", "1 3 1",
            f[3] + " " + f[4] + " " + f[5]);
}

// The Tab key walks the focus order, Shift+Tab walks back.
void CheckTabs(Test& t) {
    ToFront(t);
    int at = kCommand1;
    for (int id : kTabOrder) {
        PressKeys({VK_TAB});
        t.p->WaitFor("the focus to leave " + Name(at), [&] { return Focus(t.main) != at; });
        Must(Focus(t.main) == id,
             "Tab from " + Name(at) + ": expected " + Name(id) + ", got " + Name(Focus(t.main)));
        at = id;
    }
    PressKeys({VK_SHIFT, VK_TAB});
    t.p->WaitFor("Shift+Tab to leave Command1", [&] { return Focus(t.main) != kCommand1; });
    t.Equal("focus after Shift+Tab from Command1", Name(kCheck + 1), Name(Focus(t.main)));
}

// The layout by its properties at the display's DPI: the client area at its design size, all
// controls there and inside it, Command1 at its design place, each label on its control's row
// (the control after it in z-order), and no two controls overlapping but one reaching at most
// 15 twips into the next on its row, as the design has it (three labels into their check boxes,
// Text1 into Text2).
void CheckLayout(Test& t) {
    const char* env = std::getenv("VELKIN_E2E_DPI");
    int dpi = env ? std::atoi(env) : 96;
    HDC screen = GetDC(nullptr);
    t.Equal("display DPI (LOGPIXELSY)", dpi, GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    auto px = [&](int twips) { return MulDiv(twips, dpi, 1440); };
    auto show = [](const RECT& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
               std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
    };
    RECT client;
    GetClientRect(t.main, &client);
    t.Equal("client area", show({0, 0, px(6135), px(4950)}), show(client));
    std::vector<std::pair<int, RECT>> c;
    std::string missing;
    int labels = 0;
    for (HWND w = GetWindow(t.main, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, t.main, reinterpret_cast<POINT*>(&r), 2);
        c.emplace_back(GetDlgCtrlID(w), r);
        labels += c.back().first > kLabel && c.back().first <= kLabel + 31;
        t.Expect(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom,
                 Name(c.back().first) + ": expected inside the client area, got " + show(r));
    }
    for (int id = kCommand1; id <= kText + 14; id += id == kCheck + 13 ? 88 : 1) {
        missing += GetDlgItem(t.main, id) ? "" : " " + Name(id);
    }
    t.Equal("controls missing", "", missing);
    t.Equal("labels, and controls in all", "29 57",
            std::to_string(labels) + " " + std::to_string(c.size()));
    t.Equal("Command1's caption", "Environment.cfg", t.Text(kCommand1));
    for (const auto& [id, r] : c) {
        if (id == kCommand1) {
            t.Equal("Command1", show({px(540), px(120), px(1875), px(495)}), show(r));
        }
    }
    for (std::size_t i = 0; i < c.size(); ++i) {
        auto [a, ra] = c[i];
        int next = i + 1 < c.size() ? c[i + 1].first : 0;
        if (a > kLabel && next > kCommand1 && next < kLabel) {
            t.Equal(Name(next) + "'s top, as its label's", ra.top, c[i + 1].second.top);
        }
        for (std::size_t j = i + 1; j < c.size(); ++j) {
            auto [b, rb] = c[j];
            RECT both, left = ra.left < rb.left ? ra : rb, right = ra.left < rb.left ? rb : ra;
            // Each edge is rounded on its own: one pixel more.
            bool allowed = ra.top == rb.top && left.left < right.left &&
                           left.right - right.left <= px(15) + 1;
            t.Expect(!IntersectRect(&both, &ra, &rb) || allowed,
                     Name(a) + " " + show(ra) + " and " + Name(b) + " " + show(rb) +
                         ": expected apart, got overlapping");
        }
    }
}

// Right of its design width of 576 pixels the picture is no plain fill colour either.
void CheckPicture(Test& t) {
    RECT client;
    GetClientRect(t.main, &client);
    POINT origin{0, 0};
    ClientToScreen(t.main, &origin);
    t.p->WaitFor("the picture in the client area's right strip from x 576, not RGB(16,18,25) alone",
                 [&] {
                     HDC screen = GetDC(nullptr);
                     bool found = client.right <= 576;
                     for (int y = 0; y < client.bottom && !found; y += 2) {
                         for (int x = 576; x < client.right && !found; ++x) {
                             COLORREF c = GetPixel(screen, origin.x + x, origin.y + y);
                             found = c != CLR_INVALID && c != RGB(16, 18, 25);
                         }
                     }
                     ReleaseDC(nullptr, screen);
                     return found;
                 });
}

// ---------------------------------------------------------------------------------------------
// The steps and the cases

using Step = void (*)(Test&);
const std::pair<const char*, Step> kSteps[] = {
    // Before the start.
    {"sample", [](Test&) { WriteWhole(docs + "\\Environment.cfg", golden["in"]); }},
    {"usrtmp", [](Test&) { WriteWhole(kUsrTmp, "olduser \r\n"); }},
    {"no-game", [](Test&) { RegisterGame(KEY_WOW64_32KEY, 0, ""); }},
    {"empty-game", [](Test&) { RegisterGame(KEY_WOW64_32KEY, REG_SZ, ""); }},
    // The start: No, Yes, or No at once; then the main window shown.
    {"no", [](Test& t) { t.Start(IDNO, false); }},
    {"yes", [](Test& t) { t.Start(IDYES, false); }},
    {"quick", [](Test& t) { t.Start(IDNO, true); }},
    {"main",
     [](Test& t) {
         t.WaitMain();
         t.Equal("main window's title after the answer", kTitle, TextOf(t.main));
     }},
    {"usrtmp-gone", [](Test& t) { t.p->WaitFor("usr.tmp gone", [] { return !Exists(kUsrTmp); }); }},
    {"set", [](Test& t) { t.Equal("Label28", "Set.", t.Text(kLabel + 28)); }},
    {"notset", [](Test& t) { t.Equal("Label28", "NOT Set.", t.Text(kLabel + 28)); }},
    {"fresh", [](Test& t) { t.ExpectControls(false); }},
    {"shown", [](Test& t) { t.ExpectControls(true); }},
    // Actions, sent without waiting; "idle" waits for the last to end with no box shown.
    {"press", [](Test& t) { t.busy = &t.p->Send(t.Control(kCommand1), BM_CLICK); }},
    {"save",
     [](Test& t) {
         t.before = ReadWhole(docs + "\\Environment.cfg");
         t.busy = &t.p->Send(t.main, WM_COMMAND, kMenuSave);
     }},
    {"launch", [](Test& t) { t.busy = &t.p->Send(t.main, WM_COMMAND, kMenuLaunch); }},
    {"idle",
     [](Test& t) {
         t.p->WaitFor("the program idle", [&] {
             t.NoBox("after the last action");
             return !t.busy || *t.busy;
         });
     }},
    {"enter",
     [](Test& t) {
         ToFront(t);
         PressKeys({VK_RETURN});
     }},
    {"gamma",
     [](Test& t) {
         SetText(t.Control(kText + 6), kGamma);
         t.Equal("Text6 as set", kGamma, t.Text(kText + 6));
     }},
    // Boxes with more to them than kBoxes.
    {"input", [](Test& t) { Type(t, IDOK); }},
    {"cancel", [](Test& t) { Type(t, IDCANCEL); }},
    {"unwritten",
     [](Test& t) {
         t.WaitBox();
         t.Expect(
             ReadWhole(docs + "\\Environment.cfg") == t.before,
             "Environment.cfg while the save's box is open: expected its old bytes, got others");
     }},
    {"no-path",
     [](Test& t) {
         Box box = t.WaitBox();
         t.Expect(!box.input && box.text.rfind("Corvane is not installed:", 0) != 0,
                  "expected a box about the game's empty path, got the " + box.Describe());
         t.p->Press(box.hwnd, IDOK);
     }},
    // Files, the window, the game.
    {"rm", [](Test&) { DeleteFileA((docs + "\\Environment.cfg").c_str()); }},
    {"hold",
     [](Test& t) {
         t.held = CreateFileA((docs + "\\Environment.cfg").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                              nullptr, OPEN_EXISTING, 0, nullptr);
         Must(t.held != INVALID_HANDLE_VALUE, "could not hold Environment.cfg open");
     }},
    {"release", [](Test& t) { CloseHandle(std::exchange(t.held, INVALID_HANDLE_VALUE)); }},
    {"files", [](Test& t) { t.ExpectFiles(); }},
    {"clipboard", CheckClipboard},
    {"launched", CheckLaunch},
    {"tabkeys", CheckTabs},
    {"layout", CheckLayout},
    {"picture", CheckPicture},
    {"exit",
     [](Test& t) {
         PostMessageA(t.main, WM_COMMAND, kMenuExit, 0);
         t.p->WaitFor("the program's end after File > Exit, with no question", [&] {
             t.NoBox("after File > Exit");
             return WaitForSingleObject(t.p->Handle(), 0) == WAIT_OBJECT_0;
         });
         t.Equal("exit code", 0, t.p->ExitCode());
     }},
};

// Each case a script of steps on a fresh machine: the Corvane folder in Documents empty, the
// game installed. "files:<cfg>,<cf0>" names the golden files that the folder holds.
const std::pair<const char*, const char*> kCases[] = {
    {"start-up answered No: the window after the question; a stale usr.tmp removed",
     "usrtmp no main notset usrtmp-gone"},
    {"start-up answered Yes: detection despite a planted cmd.exe, then a save with backup",
     "usrtmp sample yes detected main set usrtmp-gone press idle shown save backup unwritten "
     "generated written idle files:out,in"},
    {"detected folder whose file went: the press tells and does not ask",
     "sample yes detected main rm press missing:docs idle press missing:docs idle"},
    {"input box: a wrong folder, then the file's own name in quotes; exit saves nothing",
     "sample no main press input:empty missing:empty idle press input:quoted idle notset shown "
     "exit files:in,-"},
    {"input box: Cancel reads nothing and the next press asks again",
     "sample no main press cancel:docs idle fresh press cancel:docs idle"},
    {"save after a typed folder: backup first; a line break in a value stays out of the file",
     "sample no main press input:docs idle gamma save backup unwritten generated written idle "
     "files:gamma,in"},
    {"save fails on a locked settings file: the files as they were",
     "sample no main press input:docs idle hold save backup generated failed:docs idle release "
     "files:in,in"},
    {"layout and picture at the display's DPI after a quick No", "quick main layout picture"},
    {"focus: Enter presses Command1, Tab walks the focus order",
     "no main enter cancel idle tabkeys"},
    {"the donation label puts the address on the clipboard", "no main clipboard"},
    {"launch starts the game from the 32-bit view, maximised in its folder",
     "no main launch idle launched"},
    {"launch without the game's entry", "no-game no main launch not-installed idle"},
    {"launch with an empty DisplayIcon", "empty-game no main launch no-path idle"},
};

void RunSteps(Test& t, const std::string& script) {
    std::istringstream words(script);
    for (std::string word; words >> word;) {
        RunStep(t, word);
    }
}

void RunStep(Test& t, const std::string& word) {
    std::string name = word.substr(0, word.find(':'));
    t.arg = word.substr(std::min(word.size(), name.size() + 1));
    for (const auto& [step, run] : kSteps) {
        if (name == step) {
            return run(t);
        }
    }
    for (auto [box, text, icon] : kBoxes) {
        if (name == box) {
            std::string s = text;
            std::size_t at = s.find('%');
            bool folder = at != std::string::npos;
            t.Answer(folder ? s.replace(at, 1, Folder(t.arg)) : s, icon, IDOK, folder);
            return;
        }
    }
    throw Abort("unknown step " + Quote(word));
}

int RunCases(const std::string& only) {
    int passed = 0, failed = 0;
    for (const auto& [name, script] : kCases) {
        if (std::string(name).find(only) == std::string::npos) {
            continue;
        }
        double start = NowMs();
        Test t;
        try {
            for (const std::string& f : {docs + "\\Environment.cfg", docs + "\\Environment.cf0",
                                         kUsrTmp, kRecords[0], kRecords[1], kRecords[2]}) {
                DeleteFileA(f.c_str());
            }
            RegisterGame(KEY_WOW64_64KEY, REG_SZ, kDecoy);
            RegisterGame(KEY_WOW64_32KEY, REG_EXPAND_SZ,
                         "%SystemDrive%\\Games\\Corvane Test\\Corvane.exe");
            RunSteps(t, script);
        } catch (const std::exception& e) {
            t.failures.push_back(e.what());
        }
        t.p.reset();
        if (t.held != INVALID_HANDLE_VALUE) {
            CloseHandle(t.held);
        }
        const std::string started[] = {"the cmd.exe planted beside Velkin.exe", "game", kDecoy};
        for (int i = 0; i < 3; ++i) {
            t.Expect(!Exists(kRecords[i]) || (i == 1 && t.launched),
                     started[i] + ": expected not started, got started");
        }
        (t.failures.empty() ? passed : failed) += 1;
        std::printf("%s  %s (%.1f s)\n", t.failures.empty() ? "PASS" : "FAIL", name,
                    (NowMs() - start) / 1000);
        for (const std::string& f : t.failures) {
            std::printf("      %s\n", f.c_str());
        }
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}

// Copies Velkin, the stand-in game, its decoy and the planted cmd.exe into place.
void SetUp(const std::string& built, const std::string& goldenFolder) {
    char user[256] = "root", own[MAX_PATH * 2] = {};
    GetEnvironmentVariableA("USERNAME", user, sizeof user);
    docs = std::string("C:\\users\\") + user + "\\Documents\\Corvane";
    GetModuleFileNameA(nullptr, own, sizeof own);
    fs::path stub = fs::path(own).parent_path() / "corvane_stub.exe";
    for (auto [key, name] : {std::pair{"in", "sample-input"}, std::pair{"out", "sample-output"},
                             std::pair{"gamma", "gamma-output"}}) {
        golden[key] = ReadWhole(goldenFolder + "\\" + name + ".cfg");
        Must(golden[key] != "<no file>", "could not read the golden file " + std::string(name));
    }
    golden["-"] = "<no file>";
    for (const std::string& dir : {velkinDir, kGameDir, kEmptyDir, docs}) {
        fs::create_directories(dir);
    }
    for (auto [from, to] :
         {std::make_pair(fs::path(built), velkin), std::make_pair(stub, kGame),
          std::make_pair(stub, kDecoy), std::make_pair(stub, velkinDir + "\\cmd.exe")}) {
        fs::copy_file(from, to, fs::copy_options::overwrite_existing);
    }
}

// For the demo: the window as a user sees it after answering Yes and reading the settings.
void RunDemo(const std::string& demoVelkin) {
    velkin = demoVelkin;
    velkinDir = velkin.substr(0, velkin.find_last_of('\\'));
    Test t;
    RunSteps(t, "yes detected main press idle");
    t.p->detached = true;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    // Window rectangles in the display's pixels, whatever its DPI (user32 of Vista on).
    if (FARPROC aware = GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDPIAware")) {
        reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void*>(aware))();
    }
    owner =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    bool demo = argc == 3 && std::string(argv[1]) == "--demo";
    if (argc != 3 && argc != 4) {
        std::printf("usage: see the top of driver.cpp\n");
        return 2;
    }
    try {
        demo ? RunDemo(argv[2]) : SetUp(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::printf("%s: %s\n", demo ? "demo" : "setup", e.what());
        return demo ? 1 : 2;
    }
    return demo ? 0 : RunCases(argc == 4 ? argv[3] : "");
}
