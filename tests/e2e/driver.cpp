// End-to-end tests of Velkin.exe under Wine: each case starts the real program, answers its
// boxes and works its window from outside, then checks the window and the files on disk. Only
// what needs the real program is here; the core's rules have unit tests of their own.
//   velkin_e2e [case name part]   runs the cases on the machine that run-e2e.sh sets up
//   velkin_e2e --demo <Velkin.exe>   starts Velkin, answers Yes, reads, leaves it running
// VELKIN_E2E_DPI: the display's DPI that run-e2e.sh set (96 when unset).
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

#include "harness.h"

namespace {

using namespace e2e;

const char kGenerated[] = "Config file generated! Press OK to write Environment.cfg!";
// Check1..13 and Text1..14 before a read, and after reading sample-input.cfg.
const char kFresh[] = "0000000000000||||||||||||||";
const char kSample[] =
    "1101010101010|1920|1080|2048|4|8|1.15|0.9 1.0 1.1|2|-0.25|1.5|3|0.52|0.07|1.000000";
// Tab walks from Command1 through these; Shift+Tab (negative) walks back.
const int kTabOrder[] = {201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211, 212, 213, 214, 113,
                         112, 111, 110, 109, 108, 107, 106, 105, 104, 103, 102, 101, 100, -101};

// The machine that run-e2e.sh sets up. The game, its decoy and a cmd.exe planted beside
// Velkin.exe are the stand-in, which writes a launch record beside itself, its own name with
// ".record" added, when it runs. The decoy is what an unquoted start of the game's path would
// run, and what the 64-bit registry view names.
std::string velkin = "C:\\velkin\\Velkin.exe", velkinDir = "C:\\velkin";  // the demo's elsewhere
const std::string kGameDir = "C:\\Games\\Corvane Test", kGame = kGameDir + "\\Corvane.exe";
const std::string kDecoy = "C:\\Games\\Corvane.exe", kRecord = ".record";
// The settings folder in Documents, spelt as Velkin's detection spells it.
const std::string kUser = std::getenv("USERNAME"),
                  kDocs = "C:\\Users\\" + kUser + "\\Documents\\Corvane";
const std::string kCfg = kDocs + "\\Environment.cfg", kCf0 = kDocs + "\\Environment.cf0";
const std::string kGolden = "C:\\e2e\\golden\\";  // tests/golden, copied by run-e2e.sh

void Same(const std::string& what, const std::string& expected, const std::string& got) {
    Must(expected == got, what + ": expected \"" + expected + "\", got \"" + got + "\"");
}

std::string Name(int id) {
    const char* kinds[] = {"no control ", "Check", "Text", "Label"};
    return id == kCommand1 ? "Command1" : kinds[id / 100 % 4] + std::to_string(id % 100);
}

std::string Show(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

// The game's uninstall entry in the 32-bit registry view, of type `type`; none if `type` is 0.
void RegisterGame(DWORD type, const std::string& icon) {
    const char path[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane_is1";
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY,
                    nullptr, &key, nullptr);
    LONG rc = type ? RegSetValueExA(key, "DisplayIcon", 0, type, (const BYTE*)icon.c_str(),
                                    DWORD(icon.size() + 1))
                   : RegDeleteKeyExA(HKEY_LOCAL_MACHINE, path, KEY_WOW64_32KEY, 0);
    RegCloseKey(key);
    Must(rc == ERROR_SUCCESS, "could not change the game's entry");
}

// The folders that steps name for the input box and the boxes, Documents' if none; "quoted"
// is the settings file's own name as users may type it.
const std::map<std::string, std::string> kFolders = {
    {"", kDocs},
    {"empty", velkinDir + "\\empty folder"},
    {"quoted", "  \"" + kDocs + "\\ENVIRONMENT.CFG\"  "}};

// One case's run of the program.
struct Test {
    std::future<LRESULT> busy;  // the last click's or menu entry's handler; goes after `p` ends
    std::optional<Program> p;
    HWND main = nullptr;
    std::ifstream held;  // Environment.cfg kept open, shared but for deleting
    std::string arg;     // what follows the ':' of the step running

    // Answers `button` to the box that begins with `text` ('%': the folder that `arg` names),
    // titled by the author, with an icon (1), none (0) or either (-1), after `meanwhile`.
    void Answer(std::string text, int icon, int button = IDOK,
                const std::function<void(HWND)>& meanwhile = nullptr) {
        std::size_t at = text.find('%');
        text = at == std::string::npos ? text : text.replace(at, 1, kFolders.at(arg));
        HWND box = nullptr;
        p->WaitFor("the box \"" + text + "\"", [&] { return (box = p->Find(kBoxClass)); });
        bool shown = false;  // only a static control that shows an icon answers with one
        for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            shown |= SendTo(c, STM_GETICON) != 0;
        }
        auto mark = [&](bool with) { return icon < 0 ? "" : with ? " (icon)" : " (no icon)"; };
        Same("box", "Velkin by <author>" + (mark(icon == 1) + (": " + text)),
             TextOf(box).substr(0, 10) + (TextOf(box).size() > 10 ? "<author>" : "") + mark(shown) +
                 ": " + BoxText(box).substr(0, text.size()));
        if (meanwhile) {
            meanwhile(box);
        }
        p->Press(box, button);
    }
    // Velkin started beside a stale usr.tmp and its question answered (Yes: the folder then
    // detected), up to the main window shown; the window is first seen built behind the question.
    void Start(int answer) {
        WriteWhole(velkinDir + "\\usr.tmp", "olduser \r\n");  // left by an earlier start
        p.emplace(velkin, velkinDir);  // from its own folder, where it writes usr.tmp
        p->WaitFor("the start-up question, the main window built behind it as Form1", [&] {
            bool asked = p->Find(kBoxClass) && FindWindowExA(nullptr, nullptr, kMainClass, "Form1");
            Must(!p->Find(kMainClass), "main window: expected hidden before the answer, got shown");
            return asked;  // so that the window is seen hidden with the question shown
        });
        Answer(
            "Would you like to try and automatically detect settings path?", 0, answer, [](HWND q) {
                Must((GetWindowLongA(GetDlgItem(q, IDYES), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON,
                     "start-up question: expected Yes as the default button, got another");
            });
        if (answer == IDYES) {
            Answer("Settings path auto-detected :) Click Set Environment.cfg to detect values.", 0);
        }
        p->Until("the main window", [&] { return (main = p->Find(kMainClass)) != nullptr; });
        Same("title", "Velkin - Corvane Advanced Config Tool v0.2.1", TextOf(main));
        Same("usr.tmp", "<no file>", ReadWhole(velkinDir + "\\usr.tmp"));
    }
    HWND Control(int id) {
        HWND hwnd = GetDlgItem(main, id);
        Must(hwnd, "expected " + Name(id) + " in the main window, got none");
        return hwnd;
    }
    std::string Text(int id) { return TextOf(Control(id)); }
    void ExpectControls(const char* expected) {
        std::string shown;
        for (int n = 1; n <= 13 + 14; ++n) {
            shown += n <= 13 ? std::to_string(SendTo(Control(kCheck + n), BM_GETCHECK))
                             : "|" + Text(kText + n - 13);
        }
        Same("Check1..13|Text1..14", expected, shown);
    }
    // `file` holds the golden file that `gold` names ("none": no file).
    void ExpectFile(const std::string& file, const std::string& gold) {
        bool same = ReadWhole(file) == ReadWhole(kGolden + gold + ".cfg");
        Same(file + " (golden file)", gold, same ? gold : "another");
    }
};

// The input box, its answer the folder that `arg` names.
void Type(Test& t, int button) {
    t.Answer("input box: ", -1, button,
             [&](HWND box) { SetText(GetDlgItem(box, kInputEditId), kFolders.at(t.arg)); });
}

// A click on Label15 empties the clipboard and puts the address that it shows there.
void CheckClipboard(Test& t) {
    PostMessageA(t.Control(kLabel + 15), WM_LBUTTONDOWN, MK_LBUTTON, 0);  // told on the press
    t.Answer("BitCoin address now in clipboard! Ctrl+V to paste.", 0);
    DWORD emptiedBy = 0;  // the owner is the window of the last EmptyClipboard
    GetWindowThreadProcessId(GetClipboardOwner(), &emptiedBy);
    Same("clipboard emptied by", "Velkin", emptiedBy == t.p->pid ? "Velkin" : "another");
    // Wine's clipboard manager may hold the clipboard for a moment.
    t.p->WaitFor("the clipboard", [] { return OpenClipboard(nullptr) != 0; });
    HANDLE text = GetClipboardData(CF_TEXT);
    std::string address = text ? static_cast<const char*>(GlobalLock(text)) : "<no text>";
    GlobalUnlock(text);
    CloseClipboard();
    Same("clipboard, as Label15 shows it", t.Text(kLabel + 15), "BitCoin " + address);
}

// The stand-in's record, read and removed: a second start shows at the end of the case.
void CheckLaunch(Test& t) {
    std::string record;
    t.p->WaitFor("the game's launch record", [&] {
        record = ReadWhole(kGame + kRecord);
        return record.find('\n') != std::string::npos || ReadWhole(kDecoy + kRecord) != "<no file>";
    });
    DeleteFileA((kGame + kRecord).c_str());
    Same("game's launch record: path, command line, folder, maximised",
         kGame + "\t\"" + kGame + "\"\t" + kGameDir + "\t1\r\n", record);
}

// The focus order that Tab walks from Command1 in the dialog manager that Velkin runs its
// window with, and Shift+Tab back from Command1.
void CheckTabs(Test& t) {
    HWND at = t.Control(kCommand1);
    for (int id : kTabOrder) {
        HWND next = GetNextDlgTabItem(t.main, at, id < 0);
        Same((id < 0 ? "Shift+Tab from " : "Tab from ") + Name(GetDlgCtrlID(at)),
             Name(std::abs(id)), Name(GetDlgCtrlID(next)));
        at = next;
    }
}

// The layout by its properties at the display's DPI: the client area at its design size, all
// controls there and inside it, Command1 at its design place, each label on its control's row
// (the control after it in z-order), and no two controls overlapping but one reaching at most
// 15 twips into the next on its row, as the design has it (three labels into their check boxes,
// Text1 into Text2). Right of its design width of 576 pixels the picture's top row is no plain
// fill colour either, where a picture not scaled to the DPI would leave just that.
void CheckLayout(Test& t) {
    const char* env = std::getenv("VELKIN_E2E_DPI");
    auto px = [dpi = env ? std::atoi(env) : 96](int twips) { return MulDiv(twips, dpi, 1440); };
    std::vector<std::pair<int, RECT>> c;
    for (HWND w = GetWindow(t.main, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, t.main, reinterpret_cast<POINT*>(&r), 2);
        c.emplace_back(GetDlgCtrlID(w), r);
    }
    RECT client, both;
    GetClientRect(t.main, &client);
    Same("client area, and the controls in it", Show({0, 0, px(6135), px(4950)}) + ", 57",
         Show(client) + ", " + std::to_string(c.size()));
    Same("first control", "Command1 Environment.cfg " + Show({px(540), px(120), px(1875), px(495)}),
         Name(c[0].first) + " " + t.Text(kCommand1) + " " + Show(c[0].second));
    for (std::size_t i = 0; i < c.size(); ++i) {
        auto [a, ra] = c[i];
        Must(ra.left >= 0 && ra.top >= 0 && ra.right <= client.right && ra.bottom <= client.bottom,
             Name(a) + ": expected inside the client area, got " + Show(ra));
        for (std::size_t j = i + 1; j < c.size(); ++j) {
            auto [b, rb] = c[j];
            Must(j > i + 1 || a < kLabel || b > kLabel || ra.top == rb.top,
                 Name(b) + ": expected on its label's row, got " + Show(rb));
            // Each edge is rounded on its own: one pixel more.
            Must(!IntersectRect(&both, &ra, &rb) ||
                     (ra.top == rb.top && both.right - both.left <= px(15) + 1),
                 Name(a) + " " + Show(ra) + " and " + Name(b) + " " + Show(rb) +
                     ": expected apart, got overlapping");
        }
    }
    MapWindowPoints(t.main, nullptr, reinterpret_cast<POINT*>(&client), 2);
    t.p->WaitFor("the picture's top row right of x 576, not RGB(16,18,25) alone", [&] {
        HDC screen = GetDC(nullptr);
        bool found = client.right - client.left <= 576;
        for (int x = client.left + 576; x < client.right && !found; ++x) {
            COLORREF colour = GetPixel(screen, x, client.top);
            found = colour != CLR_INVALID && colour != RGB(16, 18, 25);
        }
        ReleaseDC(nullptr, screen);
        return found;
    });
}

// ---------------------------------------------------------------------------------------------
// The steps and the cases

using Step = std::function<void(Test&)>;

// A step that answers OK to the box of `text` and `icon` (see Test::Answer).
Step Box(const char* text, int icon) {
    return [=](Test& t) { t.Answer(text, icon); };
}

const std::map<std::string, Step> kSteps = {
    // Before the start: the game registered, the settings files gone; then what differs.
    {"machine",
     [](Test&) {
         RegisterGame(REG_EXPAND_SZ, "%SystemDrive%\\Games\\Corvane Test\\Corvane.exe");
         DeleteFileA(kCfg.c_str());
         DeleteFileA(kCf0.c_str());
     }},
    {"sample", [](Test&) { WriteWhole(kCfg, ReadWhole(kGolden + "sample-input.cfg")); }},
    {"game", [](Test&) { RegisterGame(0, ""); }},  // no entry
    // The start, answered No or Yes (the folder then detected).
    {"no", [](Test& t) { t.Start(IDNO); }},
    {"yes", [](Test& t) { t.Start(IDYES); }},
    {"set", [](Test& t) { Same("Label28", "Set.", t.Text(kLabel + 28)); }},
    {"notset", [](Test& t) { Same("Label28", "NOT Set.", t.Text(kLabel + 28)); }},
    {"fresh", [](Test& t) { t.ExpectControls(kFresh); }},
    {"shown", [](Test& t) { t.ExpectControls(kSample); }},
    // Actions, sent without waiting; "idle" waits for the last to end with no box shown.
    {"press", [](Test& t) { t.busy = t.p->Send(t.Control(kCommand1), BM_CLICK); }},
    {"save", [](Test& t) { t.busy = t.p->Send(t.main, WM_COMMAND, kMenuSave); }},
    {"launch", [](Test& t) { t.busy = t.p->Send(t.main, WM_COMMAND, kMenuLaunch); }},
    {"idle", [](Test& t) { t.p->Until("the program idle", [&] { return Done(t.busy); }); }},
    // Enter as the message loop gets it; the focus is on Command1 before the loop starts.
    {"enter", [](Test& t) { PostMessageA(t.Control(kCommand1), WM_KEYDOWN, VK_RETURN, 0); }},
    // Read back as set: a line break that the edit control dropped would leave nothing to test.
    {"gamma", [](Test& t) { SetText(t.Control(kText + 6), "1.0\r\nFORCESPECTATOR=1"); }},
    // The boxes.
    {"input", [](Test& t) { Type(t, IDOK); }},
    {"cancel", [](Test& t) { Type(t, IDCANCEL); }},
    {"missing",
     Box("There is no Environment.cfg in %.\r\nSave settings would create one there.", 1)},
    {"backup", Box("Creating Backup of Current Settings to Environment.cf0", 1)},
    {"generated",
     [](Test& t) {
         t.Answer(kGenerated, -1, IDOK, [&](HWND) { t.ExpectFile(kCfg, "sample-input"); });
     }},
    {"written", Box("Environment.cfg written successfully!", -1)},
    {"failed", Box("Could not write %\\Environment.cfg:", 1)},
    {"not-installed", Box("Corvane is not installed:", -1)},
    // Files, the window, the game.
    {"rm", [](Test&) { DeleteFileA(kCfg.c_str()); }},
    {"hold", [](Test& t) { t.held.open(kCfg); }},
    {"cfg", [](Test& t) { t.ExpectFile(kCfg, t.arg); }},
    {"cf0", [](Test& t) { t.ExpectFile(kCf0, t.arg); }},
    {"clipboard", CheckClipboard},
    {"launched", CheckLaunch},
    {"tabkeys", CheckTabs},
    {"layout", CheckLayout},
    {"exit",
     [](Test& t) {
         PostMessageA(t.main, WM_COMMAND, kMenuExit, 0);
         DWORD code = 0;
         t.p->Until("the program's end after File > Exit", [&] {
             return GetExitCodeProcess(t.p->process, &code) && code != STILL_ACTIVE;
         });
         Same("exit code", "0", std::to_string(code));
     }},
};

// Each case a script of steps on a fresh machine: the Corvane folder in Documents empty, the
// game installed, a stale usr.tmp beside Velkin at each start. "cfg:" and "cf0:" name the
// golden file that the folder holds as Environment.cfg and .cf0.
const std::pair<const char*, const char*> kCases[] = {
    // Yes: detection despite a planted cmd.exe, then a save with backup; when the detected
    // folder's file has gone, the press tells, and asks for no folder.
    {"yes, save",
     "sample yes set press idle shown save backup generated written idle cfg:sample-output "
     "cf0:sample-input rm press missing idle press missing idle"},
    // No, then typed folders: Cancel reads nothing and the next press asks again; a wrong
    // folder, asked for again; the file's own name in quotes. Exit saves nothing.
    {"no, typed",
     "sample no press cancel idle fresh press input:empty missing:empty idle press input:quoted "
     "idle notset shown exit cfg:sample-input cf0:none"},
    // A save after a typed folder backs up first; a line break in a value stays out of it.
    {"typed, save",
     "sample no press input idle gamma save backup generated written idle "
     "cfg:gamma-output cf0:sample-input"},
    // A save onto a settings file held open fails and leaves the files as they were.
    {"held, save",
     "sample no press input idle hold save backup generated failed idle "
     "cfg:sample-input cf0:sample-input"},
    {"layout at the display's DPI", "no layout"},
    // Enter presses Command1; Tab walks the focus order; the donation label's click copies.
    {"keys, clipboard", "no enter cancel idle tabkeys clipboard"},
    {"launch: the game from the 32-bit view, maximised in its folder", "no launch idle launched"},
    {"launch without the game's entry", "game no launch not-installed idle"},
};

// Runs `script` in `t`; gives the failure, "" if none.
std::string Run(Test& t, const std::string& script) {
    std::istringstream words(script);
    for (std::string word; words >> word;) {
        try {
            t.arg = word.find(':') < word.size() ? word.substr(word.find(':') + 1) : "";
            kSteps.at(word.substr(0, word.find(':')))(t);
        } catch (const std::exception& e) {
            return word + ": " + e.what();
        }
    }
    return "";
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    // Window rectangles in the display's pixels, whatever its DPI (user32 of Vista on).
    if (FARPROC aware = GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDPIAware")) {
        reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void*>(aware))();
    }
    if (argc == 3 && std::string(argv[1]) == "--demo") {
        // The window as a user sees it after answering Yes and reading the settings.
        velkin = argv[2];
        velkinDir = velkin.substr(0, velkin.find_last_of('\\'));
        Test t;
        std::string failure = Run(t, "yes press idle");
        std::printf("demo: %s\n", failure.empty() ? "Velkin left running" : failure.c_str());
        if (failure.empty()) {
            t.p->process = nullptr;  // forgotten, so that it is left running
        }
        return failure.empty() ? 0 : 1;
    }
    int passed = 0, failed = 0;
    for (const auto& [name, script] : kCases) {
        if (argc > 1 && std::string(name).find(argv[1]) == std::string::npos) {
            continue;
        }
        Test t;
        std::string failure = Run(t, "machine " + std::string(script));
        t.p.reset();
        // A record is a start, told even after another failure; removed for the next case.
        for (const std::string& exe : {velkinDir + "\\cmd.exe", kGame, kDecoy}) {
            if (DeleteFileA((exe + kRecord).c_str())) {
                failure += (failure.empty() ? "" : "; ") + exe + ": expected no start, got one";
            }
        }
        (failure.empty() ? passed : failed) += 1;
        std::printf("%s  %s\n%s", failure.empty() ? "PASS" : "FAIL", name,
                    failure.empty() ? "" : ("      " + failure + "\n").c_str());
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}
