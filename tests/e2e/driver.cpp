// End-to-end tests: each case starts the real Velkin.exe under Wine, works it from outside as a
// user would, and checks the window and the files on disk.
//   velkin_e2e [case name part]   the cases, on the machine that run-e2e.sh sets up
//   velkin_e2e --demo <Velkin.exe>   starts Velkin, answers Yes, reads, leaves it running
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

#include "tests/harness/harness.h"

namespace {

using namespace e2e;

// The machine that run-e2e.sh sets up. The game, the decoy that an unquoted start or the 64-bit
// registry view would run, and a planted cmd.exe are the stand-in, which records each start.
std::string velkin = "C:\\velkin\\Velkin.exe", velkinDir = "C:\\velkin";  // the demo's elsewhere
const std::string kGameDir = "C:\\Games\\Corvane Test", kGame = kGameDir + "\\Corvane.exe";
const std::string kDecoy = "C:\\Games\\Corvane.exe", kRecord = ".record";
// The settings folder in Documents, spelt as Velkin's detection spells it.
const std::string kUser = std::getenv("USERNAME");
const std::string kDocs = "C:\\Users\\" + kUser + "\\Documents\\Corvane";
// Where detection looks on XP, and a Documents folder that the shell moved elsewhere.
const std::string kXpCfg =
    "C:\\Documents and Settings\\" + kUser + "\\My Documents\\Corvane\\Environment.cfg";
const std::string kMovedCfg = "C:\\MyDocs\\Corvane\\Environment.cfg";
const std::string kCfg = kDocs + "\\Environment.cfg", kCf0 = kDocs + "\\Environment.cf0";
const std::string kGolden = "C:\\e2e\\golden\\";          // tests/golden, copied by run-e2e.sh
const std::string kDemo = "C:\\e2e\\demo.cfg";            // the demo's Environment.cfg, likewise
const std::string kAdded = "XR_ADDED_BY_THE_GAME=1\r\n";  // a change on disk

// The menu as a user walks it with the keyboard: F10, then these keys ('_' for blanks).
const std::map<std::string, std::vector<WPARAM>> kMenu = {
    {"Launch_Corvane.exe", {VK_DOWN, VK_RETURN}},
    {"Save_settings", {VK_DOWN, VK_DOWN, VK_RETURN}},
    {"Exit", {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}},
    {"About", {VK_RIGHT, VK_RETURN}}};

// Every box the cases meet: its text ('%': the folder the step names; '^N': the system's text for
// error N), its icon, and its buttons left to right, '*' after the default.
struct BoxRow {
    std::string text;
    const char* icon = "none";
    const char* buttons = "OK*";
};
const std::string kCouldNotWrite = "Could not write %\\Environment.cfg:\r\n^";
// clang-format off
const std::map<std::string, BoxRow> kBoxes = {
    {"question", {"Would you like to try and automatically detect settings path?", "none",
                  "Yes* No"}},
    {"found", {"Settings path auto-detected :) Click Set Environment.cfg to detect values."}},
    {"input", {"input box: Enter the full path to you Environment.cfg file. Usually in C:\\Users\\"
               "%USERNAME%\\Documents\\Corvane on Vista\\Win7 C:\\Documents and Settings\\"
               "%USERNAME%\\My Documents\\Corvane on Windows XP. Do not enter trailing \\!",
               "none", "OK* Cancel"}},
    {"missing", {"There is no Environment.cfg in %.\r\nSave settings would create one there.",
                 "warning"}},
    {"backup", {"Creating Backup of Current Settings to Environment.cf0", "warning"}},
    {"generated", {"Config file generated! Press OK to write Environment.cfg!"}},
    {"written", {"Environment.cfg written successfully!"}},
    {"locked", {kCouldNotWrite + "5\r\nThe file was left as it was; Environment.cf0 now holds the "
                "settings as Velkin read them.", "error"}},
    {"no-folder", {kCouldNotWrite + "3\r\nThe file was left as it was.", "error"}},
    {"changed", {"Environment.cfg was not saved: %\\Environment.cfg has changed since Velkin read "
                 "it, perhaps by the game. Saving now would lose what it holds.\r\nEnvironment.cfg "
                 "was left as it was; Environment.cf0 now holds the settings as Velkin read them."
                 "\r\nClick Environment.cfg to read it first.", "error"}},
    {"not-installed", {"Corvane is not installed: its entry was not found in the registry, so "
                       "Velkin does not know where to start it from.", "error"}},
    {"a-folder", {"Could not start C:\\Games\\Corvane Test:\r\nIt is a folder, not a program.",
                  "error"}},
    {"not-a-program", {"Could not start C:\\Games\\notes.exe:\r\nIt is not a program that Windows "
                       "can start.", "error"}},
    {"clipboard", {"BitCoin address now in clipboard! Ctrl+V to paste."}},
    {"about", {"Velkin " VELKIN_VERSION_TEXT " by " VELKIN_AUTHOR "\r\nCORVANE Advanced Config "
               "Tool " VELKIN_VERSION_TEXT "\r\nBeta Release, Writes Enabled!\r\n" VELKIN_EMAIL_LINE "\r\n" VELKIN_SOCIAL_LINE
               "\r\nBitCoin: " VELKIN_DONATION_ADDRESS "\r\n" VELKIN_WEBLOG_LINE}},
};

// The rows: a label's caption, the settings of the controls right of it ("KEY=": a text box).
const std::pair<const char*, std::vector<std::string>> kRows[] = {
    {"Sound........................", {"SND_ENABLE"}},
    {"Development............", {"SHOW_DEVELOPMENT"}},
    {"Skip Intro.................", {"SKIPINTRO"}},
    {"Confidental...............", {"SHOW_CONFIDENTIAL"}},
    {"DynamicLoadMips....", {"R_DYNAMICLOADMIPS"}}, {"Vertical Sync...........", {"VID_VSYNC"}},
    {"Fullscreen.................", {"VID_FULLSCREEN"}},
    {"Fullscreen Toggle.....", {"VID_FULLSCREEN_WINDOWED_TOGGLE_ENABLED"}},
    {"Movie Grain..............", {"XR_GRAIN"}}, {"Flare Effects.............", {"XR_FLARES"}},
    {"Motion Blur DOF.......", {"XR_MOTIONBLUR_DOF"}}, {"Fog Effects................", {"XR_FOG"}},
    {"Force Spectator........", {"FORCESPECTATOR"}},
    {"Resolution", {"VID_DWIDTH=", "VID_DHEIGHT="}}, {"Texture Quality", {"MAXTEXTUREQUALITY="}},
    {"AntiAliasing", {"R_ANTIALIAS="}}, {"Anistropy", {"R_ANISOTROPY="}}, {"Gamma", {"VID_GAMMA="}},
    {"Gamma Ramp", {"VID_GAMMARAMP="}}, {"Brightness", {"VID_BRIGHTNESS="}},
    {"Black Level", {"VID_BLACKLEVEL="}}, {"Pixel Aspect", {"VID_PIXELASPECT="}},
    {"Level of Detail", {"XR_LOD="}}, {"LoD Offset", {"XR_LODOFFSET="}},
    {"Shader Mode", {"XR_SHADERMODE="}}, {"LoD Scale", {"XR_LODSCALE="}},
};
// clang-format on

// Tab walks from Command1 through these; Shift+Tab (negative) walks back.
const int kTabOrder[] = {201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211, 212, 213, 214, 113,
                         112, 111, 110, 109, 108, 107, 106, 105, 104, 103, 102, 101, 100, -101};

void Same(const std::string& what, const std::string& expected, const std::string& got) {
    Must(expected == got, what + ": expected \"" + expected + "\", got \"" + got + "\"");
}

std::string Name(int id) {
    const char* kinds[] = {"no control ", "Check", "Text", "Label"};
    return id == kCommand1 ? "Command1" : kinds[id / 100 % 4] + std::to_string(id % 100);
}

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

// A child's rectangle in its parent's client area.
RECT PlaceOf(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// What a user sees of a box beyond its text: its icon, told apart by colour as people do
// ("blank" until painted), and its buttons left to right, '*' after the default.
std::string IconAndButtons(HWND box) {
    std::string icon = "none";
    std::map<std::pair<LONG, LONG>, std::string> buttons;  // by place, left to right
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongA(c, GWL_STYLE);
        if (ClassOf(c) == "Button" && IsWindowVisible(c)) {
            std::string text = TextOf(c);
            text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
            buttons[{PlaceOf(c).left, PlaceOf(c).top}] =
                text + ((style & 0x0F) == BS_DEFPUSHBUTTON ? "*" : "");
        } else if ((style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(c) &&
                   SendTo(c, STM_GETICON) != 0) {
            RECT r;
            GetWindowRect(c, &r);
            int red = 0, yellow = 0;
            HDC screen = GetDC(nullptr);
            for (int y = r.top; y < r.bottom; ++y) {
                for (int x = r.left; x < r.right; ++x) {
                    const COLORREF p = GetPixel(screen, x, y);
                    red += GetRValue(p) > 150 && GetGValue(p) < 90 && GetBValue(p) < 90;
                    yellow += GetRValue(p) > 180 && GetGValue(p) > 150 && GetBValue(p) < 100;
                }
            }
            ReleaseDC(nullptr, screen);
            icon = yellow > red ? "warning" : red > 0 ? "error" : "blank";
        }
    }
    icon += " |";
    for (const auto& [place, text] : buttons) {
        icon += " " + text;
    }
    return icon;
}

// Sets a registry value in the 32-bit view, or deletes its key when `type` is 0.
void Register(HKEY root, const char* path, const char* name, DWORD type, const std::string& data) {
    HKEY key = nullptr;
    RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key,
                    nullptr);
    LONG rc =
        type ? RegSetValueExA(key, name, 0, type, (const BYTE*)data.c_str(), DWORD(data.size() + 1))
             : RegDeleteKeyExA(root, path, KEY_WOW64_32KEY, 0);
    RegCloseKey(key);
    Must(rc == ERROR_SUCCESS, std::string("could not change ") + path);
}
const char kGameKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane_is1";
const char kWindowsKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";
const char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

std::string Sample() {
    return ReadWhole(kGolden + "sample-input.cfg");
}

void Put(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteWhole(path, text);
}

// The folders that steps name, Documents' if none; "quoted" as users may paste the file's name.
const std::map<std::string, std::string> kFolders = {
    {"", kDocs},
    {"empty", velkinDir + "\\empty folder"},
    {"gone", velkinDir + "\\no such folder"},
    {"quoted", "  \"" + kDocs + "\\ENVIRONMENT.CFG\"  "}};

struct Test {
    std::future<LRESULT> busy;  // the last click's handler; goes after `p` ends
    std::optional<Program> p;
    HWND main = nullptr;
    std::ifstream held;            // Environment.cfg kept open, shared but for deleting
    std::string arg;               // what follows the ':' of the step running
    std::string home = velkinDir;  // where Velkin starts; C:\readonly, run-e2e.sh mounts so

    void Answer(const std::string& key, int button = IDOK,
                const std::function<void(HWND)>& meanwhile = nullptr) {
        const BoxRow& row = kBoxes.at(key);
        std::string text = row.text;
        if (std::size_t at = text.find('%'); at != std::string::npos && key != "input") {
            text.replace(at, 1, kFolders.at(arg));
        }
        if (std::size_t at = text.find('^'); at != std::string::npos) {
            char* reason = nullptr;
            FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
                           text[at + 1] - '0', 0, reinterpret_cast<char*>(&reason), 0, nullptr);
            std::string system = reason ? reason : "<no text>";
            LocalFree(reason);
            text.replace(at, 2, system.substr(0, system.find_last_not_of(" \r\n") + 1));
        }
        HWND box = nullptr;
        std::string seen;  // the icon is painted a moment after the box shows
        p->WaitFor("the box \"" + text + "\" painted", [&] {
            return (box = p->Find(kBoxClass)) && (seen = IconAndButtons(box)).find("blank") != 0;
        });
        const std::string shown = BoxText(box);
        Same("box \"" + key + "\"",
             "Velkin by " VELKIN_AUTHOR " | " + text + " | " + row.icon + " | " + row.buttons,
             TextOf(box) + " | " + shown + " | " + seen);
        if (meanwhile) {
            meanwhile(box);
        }
        p->Press(box, button);
    }
    // Velkin started beside a usr.tmp left by an earlier version, up to its question.
    void Begin() {
        if (home == velkinDir) {
            WriteWhole(home + "\\usr.tmp", "olduser ");
        }
        p.emplace(home + "\\Velkin.exe", home);
        p->WaitFor("the start-up question, the main window hidden behind it", [&] {
            Must(!p->Find(kMainClass), "main window: expected hidden before the answer, got shown");
            return p->Find(kBoxClass) && FindWindowExA(nullptr, nullptr, kMainClass, nullptr);
        });
    }
    // The question answered (Yes: the folder then detected), up to the main window shown.
    void Start(int answer) {
        Begin();
        Answer("question", answer);
        if (answer == IDYES) {
            Answer("found");
        }
        p->Until("the main window", [&] { return (main = p->Find(kMainClass)) != nullptr; });
        Same("title", "Velkin - Corvane Advanced Config Tool " VELKIN_VERSION_TEXT, TextOf(main));
        // Removed, but where it cannot be: there it stays as run-e2e.sh left it.
        Same("usr.tmp", home == velkinDir ? "<no file>" : "olduser ",
             ReadWhole(home + "\\usr.tmp"));
    }
    HWND Control(int id) {
        HWND hwnd = GetDlgItem(main, id);
        Must(hwnd, "expected " + Name(id) + " in the main window, got none");
        return hwnd;
    }
    std::string Text(int id) { return TextOf(Control(id)); }
    int Focused() {  // the ID of the control that has the focus
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
        return GetDlgCtrlID(info.hwndFocus);
    }
    // `file` holds the golden file that `gold` names ("none": no file).
    void ExpectFile(const std::string& file, const std::string& gold) {
        bool same = ReadWhole(file) == ReadWhole(kGolden + gold + ".cfg");
        Same(file + " (golden file)", gold, same ? gold : "another");
    }
    // Reads `text` as Environment.cfg from the folder already known, without a box.
    void ReadFile(const std::string& text) {
        WriteWhole(kCfg, text);
        busy = p->Send(Control(kCommand1), BM_CLICK);
        p->Until("the press read", [&] { return Done(busy); });
    }
};

// The input box, its answer the folder that `arg` names.
void Type(Test& t, int button) {
    t.Answer("input", button,
             [&](HWND box) { SetText(GetDlgItem(box, kInputEditId), kFolders.at(t.arg)); });
}

// Each row's label names the setting its controls read: four files, every value different, the
// switches spelling each row's number in binary.
void CheckRows(Test& t) {
    for (int bit = 0; bit < 4; ++bit) {
        std::map<std::string, std::string> value;
        std::string file;
        int n = 0;
        for (const auto& [caption, keys] : kRows) {
            for (const std::string& key : keys) {
                ++n;
                value[key] = std::to_string(key.back() == '=' ? n * 10 + bit : n >> bit & 1);
                file += key + (key.back() == '=' ? "" : "=") + value[key] + "\r\n";
            }
        }
        t.ReadFile(file);
        std::map<std::pair<LONG, LONG>, HWND> at;  // the controls by top, then left
        for (HWND w = GetWindow(t.main, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
            at[{PlaceOf(w).top, PlaceOf(w).left}] = w;
        }
        for (const auto& [caption, keys] : kRows) {
            auto label = std::find_if(at.begin(), at.end(), [&](const auto& c) {
                return ClassOf(c.second) == "Static" && TextOf(c.second) == caption;
            });
            Must(label != at.end(), std::string("expected the label \"") + caption + "\"");
            std::string expected, shown;
            auto c = std::next(label);  // the controls right of it
            for (const std::string& key : keys) {
                const bool onRow = c != at.end() && c->first.first == label->first.first;
                expected += " " + value[key];
                shown += !onRow              ? " <none>"
                         : key.back() == '=' ? " " + TextOf(c->second)
                                             : " " + std::to_string(SendTo(c->second, BM_GETCHECK));
                c = onRow ? std::next(c) : c;
            }
            Same(std::string("row \"") + caption + "\", file " + std::to_string(bit), expected,
                 shown);
        }
    }
}

// Every value shows whole in its box: scrolled to its end, its first character stays in view.
void CheckValuesVisible(Test& t) {
    for (int n = 1; n <= 14; ++n) {
        HWND box = t.Control(kText + n);
        const std::string text = TextOf(box);
        SendTo(box, EM_SETSEL, text.size(), text.size());
        SendTo(box, EM_SCROLLCARET);
        const auto hidden = SendTo(box, EM_GETFIRSTVISIBLELINE);
        Same(Name(kText + n) + " \"" + text + "\": characters out of view", "0",
             std::to_string(hidden));
    }
}

// A click on Label15 empties the clipboard and puts the address that it shows there.
void CheckClipboard(Test& t) {
    PostMessageA(t.Control(kLabel + 15), WM_LBUTTONDOWN, MK_LBUTTON, 0);  // told on the press
    t.Answer("clipboard");
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

// The focus order that Tab walks from Command1, and Shift+Tab back.
void CheckTabs(Test& t) {
    HWND at = t.Control(kCommand1);
    for (int id : kTabOrder) {
        HWND next = GetNextDlgTabItem(t.main, at, id < 0);
        Same((id < 0 ? "Shift+Tab from " : "Tab from ") + Name(GetDlgCtrlID(at)),
             Name(std::abs(id)), Name(GetDlgCtrlID(next)));
        at = next;
    }
}

// The layout at the display's DPI (VELKIN_E2E_DPI, else 96): the design's client area, 57
// controls inside it, Command1 in place, none overlapping but by the design's 15 twips on a row
// (three labels, Text1), and the picture scaled: right of 576 pixels it is no plain fill.
void CheckLayout(Test& t) {
    const char* env = std::getenv("VELKIN_E2E_DPI");
    auto px = [dpi = env ? std::atoi(env) : 96](int twips) { return MulDiv(twips, dpi, 1440); };
    auto Show = [](const RECT& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
               std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
    };
    RECT client, both;
    GetClientRect(t.main, &client);
    std::vector<RECT> c;
    for (HWND w = GetWindow(t.main, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        c.push_back(PlaceOf(w));
        Must(c.back().left >= 0 && c.back().top >= 0 && c.back().right <= client.right &&
                 c.back().bottom <= client.bottom,
             Name(GetDlgCtrlID(w)) + ": expected inside the client area, got " + Show(c.back()));
    }
    Same("client area, controls, Command1",
         Show({0, 0, px(6135), px(4950)}) + ", 57, " + Show({px(540), px(120), px(1875), px(495)}),
         Show(client) + ", " + std::to_string(c.size()) + ", " +
             Show(PlaceOf(t.Control(kCommand1))));
    for (std::size_t i = 0; i < c.size(); ++i) {
        for (std::size_t j = i + 1; j < c.size(); ++j) {
            // Each edge is rounded on its own: one pixel more.
            Must(!IntersectRect(&both, &c[i], &c[j]) ||
                     (c[i].top == c[j].top && both.right - both.left <= px(15) + 1),
                 Show(c[i]) + " and " + Show(c[j]) + ": expected apart, got overlapping");
        }
    }
    RECT label = PlaceOf(t.Control(kLabel + 1));  // its text red on the picture
    MapWindowPoints(t.main, nullptr, reinterpret_cast<POINT*>(&client), 2);
    MapWindowPoints(t.main, nullptr, reinterpret_cast<POINT*>(&label), 2);
    t.p->WaitFor("red labels; the picture's top row right of x 576 not RGB(16,18,25) alone", [&] {
        HDC screen = GetDC(nullptr);
        bool found = client.right - client.left <= 576, red = false;
        for (int x = label.left; x < label.right; ++x) {
            red |= GetPixel(screen, x, (label.top + label.bottom) / 2) == RGB(255, 0, 0);
        }
        for (int x = client.left + 576; x < client.right && !found; ++x) {
            COLORREF colour = GetPixel(screen, x, client.top);
            found = colour != CLR_INVALID && colour != RGB(16, 18, 25);
        }
        ReleaseDC(nullptr, screen);
        return found && red;
    });
}

// ---------------------------------------------------------------------------------------------
// The steps and the cases

using Step = std::function<void(Test&)>;

// clang-format off
const std::map<std::string, Step> kSteps = {
    // Before the start: the game registered, the settings files gone; then what differs: the
    // game's entry, Windows XP, Documents moved elsewhere, a folder Velkin cannot write to.
    {"machine", [](Test&) {
         Register(HKEY_LOCAL_MACHINE, kGameKey, "DisplayIcon", REG_EXPAND_SZ,
                  "%SystemDrive%\\Games\\Corvane Test\\Corvane.exe");
         Register(HKEY_LOCAL_MACHINE, kWindowsKey, "CurrentVersion", REG_SZ, "6.1");
         Register(HKEY_CURRENT_USER, kShellFolders, "Personal", REG_EXPAND_SZ,
                  "%USERPROFILE%\\Documents");
         for (const std::string& file : {kXpCfg, kMovedCfg, kCfg, kCf0}) {
             DeleteFileA(file.c_str());
         }
     }},
    {"sample", [](Test&) { WriteWhole(kCfg, Sample()); }},
    {"game", [](Test& t) {
         const std::map<std::string, std::string> paths = {
             {"", ""}, {"folder", "C:\\Games\\Corvane Test"}, {"text", "C:\\Games\\notes.exe"}};
         Register(HKEY_LOCAL_MACHINE, kGameKey, "DisplayIcon", t.arg.empty() ? 0 : REG_SZ,
                  paths.at(t.arg));
     }},
    {"xp", [](Test&) { Register(HKEY_LOCAL_MACHINE, kWindowsKey, "CurrentVersion", REG_SZ, "5.1"),
                       Put(kXpCfg, Sample()); }},
    {"moved", [](Test&) { Register(HKEY_CURRENT_USER, kShellFolders, "Personal", REG_SZ,
                                   "C:\\MyDocs"), Put(kMovedCfg, Sample()); }},
    {"readonly", [](Test& t) { t.home = "C:\\readonly"; }},
    // The start, answered No or Yes (the folder then detected), or only begun.
    {"no", [](Test& t) { t.Start(IDNO); }},
    {"yes", [](Test& t) { t.Start(IDYES); }},
    {"start", [](Test& t) { t.Begin(); }},
    {"answer-yes", [](Test& t) { t.Answer("question", IDYES); }},
    {"set", [](Test& t) { Same("Label28", "Set.", t.Text(kLabel + 28)); }},
    {"notset", [](Test& t) { Same("Label28", "NOT Set.", t.Text(kLabel + 28)); }},
    {"fresh", [](Test& t) {
         std::string shown;
         for (int n = 1; n <= 13 + 14; ++n) {
             shown += n <= 13 ? std::to_string(SendTo(t.Control(kCheck + n), BM_GETCHECK))
                              : "|" + t.Text(kText + n - 13);
         }
         Same("Check1..13|Text1..14", "0000000000000||||||||||||||", shown);
     }},
    {"rows", CheckRows},
    {"demo", [](Test& t) { t.ReadFile(ReadWhole(kDemo)); }},
    {"visible", CheckValuesVisible},
    // Actions, sent or posted without waiting; "idle" waits for the last to end with no box shown.
    {"press", [](Test& t) { t.busy = t.p->Send(t.Control(kCommand1), BM_CLICK); }},
    {"menu", [](Test& t) {
         PostMessageA(t.main, WM_SYSCOMMAND, SC_KEYMENU, 0);
         for (WPARAM key : kMenu.at(t.arg)) {
             PostMessageA(t.main, WM_KEYDOWN, key, 1);
         }
     }},
    {"idle", [](Test& t) { t.p->Until("the program idle", [&] { return Done(t.busy); }); }},
    {"enter", [](Test& t) { PostMessageA(t.Control(t.Focused()), WM_KEYDOWN, VK_RETURN, 0); }},
    {"tab", [](Test& t) { PostMessageA(t.Control(t.Focused()), WM_KEYDOWN, VK_TAB, 0); }},
    {"focus", [](Test& t) { t.p->WaitFor(t.arg, [&] { return Name(t.Focused()) == t.arg; }); }},
    // Read back as set: a line break that the edit control dropped would leave nothing to test.
    {"gamma", [](Test& t) { SetText(t.Control(kText + 6), "1.0\r\nFORCESPECTATOR=1"); }},
    // The input box answered OK or Cancel; any other box by its name in kBoxes, '@' its folder.
    {"input", [](Test& t) { Type(t, IDOK); }},
    {"cancel", [](Test& t) { Type(t, IDCANCEL); }},
    {"box", [](Test& t) {
         const std::string key = t.arg.substr(0, t.arg.find('@'));
         t.arg = key.size() < t.arg.size() ? t.arg.substr(key.size() + 1) : "";
         t.Answer(key);
     }},
    {"generated-checked", [](Test& t) {
         t.Answer("generated", IDOK, [&](HWND) { t.ExpectFile(kCfg, "sample-input"); }); }},
    // The game writes the settings file while the last box before the write is open.
    {"generated-then-changed", [](Test& t) {
         t.Answer("generated", IDOK, [](HWND) { WriteWhole(kCfg, Sample() + kAdded); }); }},
    // A close, as taskkill and installers send it, while a box is open: the box stays.
    {"close", [](Test& t) {
         t.p->WaitFor("a box", [&] { return t.p->Find(kBoxClass) != nullptr; });
         HWND main = FindWindowExA(nullptr, nullptr, kMainClass, nullptr);  // perhaps hidden
         std::future<LRESULT> closed = t.p->Send(main, WM_CLOSE);
         t.p->WaitFor("WM_CLOSE handled", [&] { return Done(closed); });
         Must(t.p->Find(kBoxClass), "after WM_CLOSE: expected the box still open, got none");
     }},
    {"endsession", [](Test& t) {
         Same("WM_QUERYENDSESSION answered while a save waits in a box", "0",
              std::to_string(SendTo(t.main, WM_QUERYENDSESSION)));
     }},
    {"ended", [](Test& t) {
         DWORD code = STILL_ACTIVE;
         t.p->WaitFor("the end", [&] {
             return GetExitCodeProcess(t.p->process, &code) && code != STILL_ACTIVE; });
         Same("exit code", "0", std::to_string(code));
     }},
    {"rm", [](Test&) { DeleteFileA(kCfg.c_str()); }},
    {"hold", [](Test& t) { t.held.open(kCfg); }},
    {"cfg", [](Test& t) { t.ExpectFile(kCfg, t.arg); }},
    {"cf0", [](Test& t) { t.ExpectFile(kCf0, t.arg); }},
    {"cfg-as-changed", [](Test&) {
         const bool kept = ReadWhole(kCfg) == Sample() + kAdded;
         Same("Environment.cfg as the game changed it", "kept", kept ? "kept" : "another");
     }},
    {"clipboard", CheckClipboard},
    {"launched", CheckLaunch},
    {"tabkeys", CheckTabs},
    {"layout", CheckLayout},
};

// Each case a script of steps on a fresh machine ("machine"). "cfg:" and "cf0:" name the golden
// file that Documents\Corvane holds as Environment.cfg and .cf0.
const std::pair<const char*, const char*> kCases[] = {
    // Yes, then a save; when the detected folder's file has gone, a press tells and asks nothing.
    {"yes, save", "sample yes set press idle menu:Save_settings box:backup generated-checked "
                  "box:written idle cfg:sample-output cf0:sample-input rm press box:missing idle "
                  "press box:missing idle"},
    // Typed folders: Cancel, a wrong one (asked again), the file's own name in quotes; Exit.
    {"no, typed", "sample no press cancel idle fresh press input:empty box:missing@empty idle "
                  "press input:quoted idle notset menu:Exit ended cfg:sample-input cf0:none"},
    // A save after a typed folder backs up first; a line break in a value stays out of it.
    {"typed, save", "sample no press input idle gamma menu:Save_settings box:backup box:generated "
                    "box:written idle cfg:gamma-output cf0:sample-input"},
    // The system's reasons: a settings file held open, a folder that is not there.
    {"held, save", "sample no press input idle hold menu:Save_settings box:backup box:generated "
                   "box:locked idle cfg:sample-input cf0:sample-input"},
    {"gone, save", "no press input:gone box:missing@gone idle menu:Save_settings box:generated "
                   "box:no-folder@gone idle"},
    // The game rewrote the file while the last box before the write was open: nothing saved.
    {"changed on disk, save", "sample no press input idle menu:Save_settings box:backup "
                              "generated-then-changed box:changed idle cfg-as-changed "
                              "cf0:sample-input"},
    // A close while a box is open waits for the box, then the program ends well.
    {"close during the question", "sample start close answer-yes box:found ended"},
    {"close during the input box", "sample no press close input idle ended cfg:sample-input "
                                   "cf0:none"},
    {"close during a save", "sample no press input idle menu:Save_settings close endsession "
                            "box:backup box:generated box:written ended cfg:sample-output "
                            "cf0:sample-input"},
    {"layout at the display's DPI", "sample no press input idle rows demo visible layout"},
    // Enter presses Command1, the focus comes back after a box, Tab, the donation label, About.
    {"keys, clipboard, about", "no enter cancel idle focus:Command1 tab focus:Text1 menu:About "
                               "box:about focus:Text1 tabkeys clipboard"},
    {"launch: the game from the 32-bit view, maximised in its folder",
     "no menu:Launch_Corvane.exe idle launched"},
    {"launch without the game's entry", "game no menu:Launch_Corvane.exe box:not-installed idle"},
    {"launch a folder", "game:folder no menu:Launch_Corvane.exe box:a-folder idle"},
    {"launch a file that is no program",
     "game:text no menu:Launch_Corvane.exe box:not-a-program idle"},
    // Detection in the other places it looks, and from a folder where nothing can be written.
    {"yes on XP", "xp yes set press idle"},
    {"yes, Documents moved", "moved yes set press idle"},
    {"yes from a read-only folder", "readonly sample yes set press idle"},
};
// clang-format on

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
