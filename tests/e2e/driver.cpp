// End-to-end tests of Velkin.exe under Wine: each case starts the real program, answers its
// boxes and works its window from outside, as a user would, then checks the window and the files
// on disk. Only what needs the real program is here; the core's rules have unit tests of their own.
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
const std::string kGolden = "C:\\e2e\\golden\\";          // tests/golden, copied by run-e2e.sh
const std::string kDemo = "C:\\e2e\\demo.cfg";            // the demo's Environment.cfg, likewise
const std::string kAdded = "XR_ADDED_BY_THE_GAME=1\r\n";  // a change on disk

// The menu as the user sees it: the bar's entries, each with the entries it opens.
const std::vector<std::pair<std::string, std::vector<std::string>>> kMenu = {
    {"File", {"Launch Corvane.exe", "Save settings", "Exit"}},
    {"About", {}},
};

// Every box the cases meet: its text ('%': the folder that the step's argument names; '^N': the
// system's text for error N; '~' at the end: the text begins so), its buttons left to right with
// '*' after the default, its icon.
struct BoxRow {
    const char* text;
    const char* buttons;
    const char* icon;
};
const std::string kChanged =
    "Nothing was saved: %\\Environment.cfg has changed since Velkin read it, perhaps by the "
    "game. Saving now would lose what it holds.\r\nClick Environment.cfg to read it first.";
const std::string kAbout = "Velkin " VELKIN_VERSION_TEXT " by " VELKIN_AUTHOR
                           "\r\nCORVANE Advanced Config Tool " VELKIN_VERSION_TEXT
                           "\r\nBeta Release, Writes Enabled!\r\n~";
const std::map<std::string, BoxRow> kBoxes = {
    {"question",
     {"Would you like to try and automatically detect settings path?", "Yes* No", "none"}},
    {"found",
     {"Settings path auto-detected :) Click Set Environment.cfg to detect values.", "OK*", "none"}},
    {"input",
     {"input box: Enter the full path to you Environment.cfg file. Usually in "
      "C:\\Users\\%USERNAME%\\Documents\\Corvane on Vista\\Win7 C:\\Documents and "
      "Settings\\%USERNAME%\\My Documents\\Corvane on Windows XP. Do not enter trailing \\!",
      "OK* Cancel", "none"}},
    {"missing",
     {"There is no Environment.cfg in %.\r\nSave settings would create one there.", "OK*",
      "warning"}},
    {"backup", {"Creating Backup of Current Settings to Environment.cf0", "OK*", "warning"}},
    {"generated", {"Config file generated! Press OK to write Environment.cfg!", "OK*", "none"}},
    {"written", {"Environment.cfg written successfully!", "OK*", "none"}},
    // The system's own reasons, which differ with the cause.
    {"locked",
     {"Could not write %\\Environment.cfg:\r\n^5\r\nThe file was left as it was.", "OK*", "error"}},
    {"no-folder",
     {"Could not write %\\Environment.cfg:\r\n^3\r\nThe file was left as it was.", "OK*", "error"}},
    {"changed", {kChanged.c_str(), "OK*", "error"}},
    {"not-installed",
     {"Corvane is not installed: its entry was not found in the registry, so Velkin does not "
      "know where to start it from.",
      "OK*", "error"}},
    {"clipboard", {"BitCoin address now in clipboard! Ctrl+V to paste.", "OK*", "none"}},
    {"about", {kAbout.c_str(), "OK*", "none"}},
};

// The rows of the window as the user sees them: each label's caption and the settings of the
// controls right of it, left to right.
const std::pair<const char*, std::vector<const char*>> kRows[] = {
    {"Sound........................", {"SND_ENABLE"}},
    {"Development............", {"SHOW_DEVELOPMENT"}},
    {"Confidental...............", {"SHOW_CONFIDENTIAL"}},
    {"Skip Intro.................", {"SKIPINTRO"}},
    {"DynamicLoadMips....", {"R_DYNAMICLOADMIPS"}},
    {"Vertical Sync...........", {"VID_VSYNC"}},
    {"Fullscreen.................", {"VID_FULLSCREEN"}},
    {"Fullscreen Toggle.....", {"VID_FULLSCREEN_WINDOWED_TOGGLE_ENABLED"}},
    {"Movie Grain..............", {"XR_GRAIN"}},
    {"Flare Effects.............", {"XR_FLARES"}},
    {"Motion Blur DOF.......", {"XR_MOTIONBLUR_DOF"}},
    {"Fog Effects................", {"XR_FOG"}},
    {"Force Spectator........", {"FORCESPECTATOR"}},
    {"Resolution", {"VID_DWIDTH=", "VID_DHEIGHT="}},
    {"Texture Quality", {"MAXTEXTUREQUALITY="}},
    {"AntiAliasing", {"R_ANTIALIAS="}},
    {"Anistropy", {"R_ANISOTROPY="}},
    {"Gamma", {"VID_GAMMA="}},
    {"Gamma Ramp", {"VID_GAMMARAMP="}},
    {"Brightness", {"VID_BRIGHTNESS="}},
    {"Black Level", {"VID_BLACKLEVEL="}},
    {"Pixel Aspect", {"VID_PIXELASPECT="}},
    {"Level of Detail", {"XR_LOD="}},
    {"LoD Offset", {"XR_LODOFFSET="}},
    {"Shader Mode", {"XR_SHADERMODE="}},
    {"LoD Scale", {"XR_LODSCALE="}},
};

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

std::string Show(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
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

// The icon a box shows, as a user tells them apart: by the colour of its picture.
std::string IconOf(HWND box) {
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) != "Static" || (GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) != SS_ICON ||
            !IsWindowVisible(c) || SendTo(c, STM_GETICON) == 0) {
            continue;
        }
        RECT r;
        GetWindowRect(c, &r);
        int red = 0, yellow = 0, blue = 0;
        HDC screen = GetDC(nullptr);
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                COLORREF p = GetPixel(screen, x, y);
                int R = GetRValue(p), G = GetGValue(p), B = GetBValue(p);
                red += R > 150 && G < 90 && B < 90;
                yellow += R > 180 && G > 150 && B < 100;
                blue += B > 150 && R < 100;
            }
        }
        ReleaseDC(nullptr, screen);
        return yellow > red && yellow > blue ? "warning"
               : red > blue                  ? "error"
               : blue > 0                    ? "information"
                                             : "blank";
    }
    return "none";
}

// A box's buttons left to right, '*' after the default.
std::string ButtonsOf(HWND box) {
    std::map<LONG, std::string> buttons;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) == "Button" && IsWindowVisible(c)) {
            std::string text;
            for (char ch : TextOf(c)) {
                text += ch == '&' ? "" : std::string(1, ch);
            }
            buttons[PlaceOf(c).left * 1000 + PlaceOf(c).top] =
                text + ((GetWindowLongA(c, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON ? "*" : "");
        }
    }
    std::string all;
    for (const auto& [place, text] : buttons) {
        all += (all.empty() ? "" : " ") + text;
    }
    return all;
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
    {"gone", velkinDir + "\\no such folder"},
    {"quoted", "  \"" + kDocs + "\\ENVIRONMENT.CFG\"  "}};

// One case's run of the program.
struct Test {
    std::future<LRESULT> busy;  // the last click's or menu entry's handler; goes after `p` ends
    std::optional<Program> p;
    HWND main = nullptr;
    std::ifstream held;  // Environment.cfg kept open, shared but for deleting
    std::string arg;     // what follows the ':' of the step running

    // Checks the box of `key` in kBoxes and presses `button`, after `meanwhile`.
    void Answer(const std::string& key, int button = IDOK,
                const std::function<void(HWND)>& meanwhile = nullptr) {
        const BoxRow& row = kBoxes.at(key);
        std::string text = row.text;
        const std::size_t at = text.find('%');
        if (at != std::string::npos && key != "input") {
            text.replace(at, 1, kFolders.at(arg));
        }
        if (const std::size_t code = text.find('^'); code != std::string::npos) {
            char* system = nullptr;
            FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
                           std::atoi(&text[code + 1]), 0, reinterpret_cast<char*>(&system), 0,
                           nullptr);
            std::string reason = system ? system : "<no text>";
            LocalFree(system);
            text.replace(code, 2, reason.substr(0, reason.find_last_not_of(" \r\n") + 1));
        }
        const bool begins = !text.empty() && text.back() == '~';
        text.resize(text.size() - begins);
        HWND box = nullptr;
        p->WaitFor("the box \"" + text + "\"", [&] { return (box = p->Find(kBoxClass)); });
        std::string icon;  // painted a moment after the box shows
        p->WaitFor("the box's icon painted", [&] { return (icon = IconOf(box)) != "blank"; });
        std::string shown = BoxText(box);
        Same("box \"" + key + "\"",
             std::string("Velkin by " VELKIN_AUTHOR " | ") + text + " | " + row.buttons + " | " +
                 row.icon,
             TextOf(box) + " | " + (begins ? shown.substr(0, text.size()) : shown) + " | " +
                 ButtonsOf(box) + " | " + icon);
        if (meanwhile) {
            meanwhile(box);
        }
        p->Press(box, button);
    }
    // Velkin started beside a usr.tmp that an earlier version left unended, and its question
    // answered, up to the main window shown; the window is first seen hidden behind the question.
    void Begin() {
        WriteWhole(velkinDir + "\\usr.tmp", "olduser ");
        p.emplace(velkin, velkinDir);
        p->WaitFor("the start-up question, the main window hidden behind it", [&] {
            Must(!p->Find(kMainClass), "main window: expected hidden before the answer, got shown");
            return p->Find(kBoxClass) && FindWindowExA(nullptr, nullptr, kMainClass, nullptr);
        });
    }
    void Start(int answer) {
        Begin();
        Answer("question", answer);
        if (answer == IDYES) {
            Answer("found");
        }
        p->Until("the main window", [&] { return (main = p->Find(kMainClass)) != nullptr; });
        Same("title", "Velkin - Corvane Advanced Config Tool " VELKIN_VERSION_TEXT, TextOf(main));
        Same("usr.tmp", "<no file>", ReadWhole(velkinDir + "\\usr.tmp"));
    }
    HWND Control(int id) {
        HWND hwnd = GetDlgItem(main, id);
        Must(hwnd, "expected " + Name(id) + " in the main window, got none");
        return hwnd;
    }
    std::string Text(int id) { return TextOf(Control(id)); }
    // The ID of the control that has the focus.
    int Focused() {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
        return GetDlgCtrlID(info.hwndFocus);
    }
    // `file` holds the golden file that `gold` names ("none": no file).
    void ExpectFile(const std::string& file, const std::string& gold) {
        bool same = ReadWhole(file) == ReadWhole(kGolden + gold + ".cfg");
        Same(file + " (golden file)", gold, same ? gold : "another");
    }
    // Runs a menu entry as a user does without a mouse: F10, then arrows to its place, Enter.
    void Menu(std::string caption) {
        for (char& c : caption) {
            c = c == '_' ? ' ' : c;
        }
        std::vector<WPARAM> keys;
        for (const auto& [entry, entries] : kMenu) {
            if (entry == caption) {
                keys.push_back(VK_RETURN);
                break;
            }
            std::size_t at = 0;
            while (at < entries.size() && entries[at] != caption) {
                ++at;
            }
            if (at < entries.size()) {
                keys.insert(keys.end(), at + 1, VK_DOWN);
                keys.push_back(VK_RETURN);
                break;
            }
            keys.push_back(VK_RIGHT);
        }
        Must(keys.back() == VK_RETURN, "no menu entry \"" + caption + "\"");
        PostMessageA(main, WM_SYSCOMMAND, SC_KEYMENU, 0);
        for (WPARAM key : keys) {
            PostMessageA(main, WM_KEYDOWN, key, 1);
            PostMessageA(main, WM_KEYUP, key, 0xC0000001);
        }
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

// Each row's label names the setting that the controls beside it read: four files, in which
// every value differs and the switches spell each row's number in binary.
void CheckRows(Test& t) {
    for (int bit = 0; bit < 4; ++bit) {
        std::map<std::string, std::string> value;
        std::string file;
        int n = 0;
        for (const auto& [caption, keys] : kRows) {
            for (std::string key : keys) {
                ++n;
                const bool isSwitch = key.back() != '=';
                value[key] = isSwitch ? std::to_string(n >> bit & 1) : std::to_string(n * 10 + bit);
                file += key + (isSwitch ? "=" : "") + value[key] + "\r\n";
            }
        }
        t.ReadFile(file);
        std::map<std::string, RECT> labels;
        std::vector<std::pair<RECT, HWND>> controls;
        for (HWND w = GetWindow(t.main, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
            if (ClassOf(w) == "Static") {
                labels[TextOf(w)] = PlaceOf(w);
            } else {
                controls.emplace_back(PlaceOf(w), w);
            }
        }
        for (const auto& [caption, keys] : kRows) {
            Must(labels.count(caption), std::string("expected the label \"") + caption + "\"");
            const RECT label = labels[caption];
            std::map<LONG, HWND> row;  // the controls right of the label on its row, by place
            for (const auto& [place, w] : controls) {
                row[place.top == label.top && place.left > label.left ? place.left : -1] = w;
            }
            row.erase(-1);
            std::string expected, shown;
            auto control = row.begin();
            for (std::string key : keys) {
                expected += " " + value[key];
                shown += control == row.end() ? " <none>"
                         : key.back() == '='
                             ? " " + TextOf(control->second)
                             : " " + std::to_string(SendTo(control->second, BM_GETCHECK));
                control = control == row.end() ? control : std::next(control);
            }
            Same(std::string("row \"") + caption + "\" after file " + std::to_string(bit), expected,
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
        SendTo(box, EM_SETSEL, 0, 0);
        SendTo(box, EM_SCROLLCARET);
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
        c.emplace_back(GetDlgCtrlID(w), PlaceOf(w));
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
    // The start, answered No or Yes (the folder then detected); or only begun.
    {"no", [](Test& t) { t.Start(IDNO); }},
    {"yes", [](Test& t) { t.Start(IDYES); }},
    {"start", [](Test& t) { t.Begin(); }},
    {"answer-yes", [](Test& t) { t.Answer("question", IDYES); }},
    {"set", [](Test& t) { Same("Label28", "Set.", t.Text(kLabel + 28)); }},
    {"notset", [](Test& t) { Same("Label28", "NOT Set.", t.Text(kLabel + 28)); }},
    {"fresh",
     [](Test& t) {
         std::string shown;
         for (int n = 1; n <= 13 + 14; ++n) {
             shown += n <= 13 ? std::to_string(SendTo(t.Control(kCheck + n), BM_GETCHECK))
                              : "|" + t.Text(kText + n - 13);
         }
         Same("Check1..13|Text1..14", "0000000000000||||||||||||||", shown);
     }},
    {"rows", CheckRows},
    {"visible", CheckValuesVisible},
    {"demo", [](Test& t) { t.ReadFile(ReadWhole(kDemo)); }},
    // Actions, sent without waiting; "idle" waits for the last to end with no box shown.
    {"press", [](Test& t) { t.busy = t.p->Send(t.Control(kCommand1), BM_CLICK); }},
    {"menu", [](Test& t) { t.Menu(t.arg); }},
    {"idle", [](Test& t) { t.p->Until("the program idle", [&] { return Done(t.busy); }); }},
    // Keys as the message loop gets them, at the control that has the focus.
    {"enter", [](Test& t) { PostMessageA(t.Control(t.Focused()), WM_KEYDOWN, VK_RETURN, 0); }},
    {"tab", [](Test& t) { PostMessageA(t.Control(t.Focused()), WM_KEYDOWN, VK_TAB, 0); }},
    {"focus",
     [](Test& t) {
         t.p->WaitFor("the focus on " + t.arg, [&] { return Name(t.Focused()) == t.arg; });
     }},
    // Read back as set: a line break that the edit control dropped would leave nothing to test.
    {"gamma", [](Test& t) { SetText(t.Control(kText + 6), "1.0\r\nFORCESPECTATOR=1"); }},
    // The boxes: the input box answered OK or Cancel, and any other box of kBoxes by its name.
    {"input", [](Test& t) { Type(t, IDOK); }},
    {"cancel", [](Test& t) { Type(t, IDCANCEL); }},
    {"box",
     [](Test& t) {
         const std::string key = t.arg.substr(0, t.arg.find('@'));
         t.arg = key.size() < t.arg.size() ? t.arg.substr(key.size() + 1) : "";
         t.Answer(key);
     }},
    // The settings file changed on disk while the box before the write is open.
    {"generated-then-changed",
     [](Test& t) {
         t.Answer("generated", IDOK,
                  [](HWND) { WriteWhole(kCfg, ReadWhole(kGolden + "sample-input.cfg") + kAdded); });
     }},
    {"generated-checked",
     [](Test& t) {
         t.Answer("generated", IDOK, [&](HWND) { t.ExpectFile(kCfg, "sample-input"); });
     }},
    // Closing as taskkill and installers do, while a box is open: held until the box is answered.
    {"close",
     [](Test& t) {
         t.p->WaitFor("a box", [&] { return t.p->Find(kBoxClass) != nullptr; });
         HWND main = FindWindowExA(nullptr, nullptr, kMainClass, nullptr);  // perhaps hidden
         std::future<LRESULT> closed = t.p->Send(main, WM_CLOSE);
         t.p->WaitFor("WM_CLOSE handled", [&] { return Done(closed); });
         Must(t.p->Find(kBoxClass), "after WM_CLOSE: expected the box still open, got none");
     }},
    {"endsession",
     [](Test& t) {
         Same("WM_QUERYENDSESSION answered while a save waits in a box", "0",
              std::to_string(SendTo(t.main, WM_QUERYENDSESSION)));
     }},
    {"ended",
     [](Test& t) {
         DWORD code = 0;
         t.p->WaitFor("the program's end", [&] {
             return GetExitCodeProcess(t.p->process, &code) && code != STILL_ACTIVE;
         });
         Same("exit code", "0", std::to_string(code));
     }},
    // Files, the window, the game.
    {"rm", [](Test&) { DeleteFileA(kCfg.c_str()); }},
    {"hold", [](Test& t) { t.held.open(kCfg); }},
    {"cfg", [](Test& t) { t.ExpectFile(kCfg, t.arg); }},
    {"cf0", [](Test& t) { t.ExpectFile(kCf0, t.arg); }},
    {"cfg-changed",
     [](Test&) {
         Same("Environment.cfg as the game changed it", "kept",
              ReadWhole(kCfg) == ReadWhole(kGolden + "sample-input.cfg") + kAdded ? "kept"
                                                                                  : "another");
     }},
    {"clipboard", CheckClipboard},
    {"launched", CheckLaunch},
    {"tabkeys", CheckTabs},
    {"layout", CheckLayout},
};

// Each case a script of steps on a fresh machine: the Corvane folder in Documents empty, the
// game installed, a leftover usr.tmp beside Velkin at each start. "cfg:" and "cf0:" name the
// golden file that the folder holds as Environment.cfg and .cf0; "box:" names a row of kBoxes.
const std::pair<const char*, const char*> kCases[] = {
    // Yes: detection despite a planted cmd.exe, then a save with backup; when the detected
    // folder's file has gone, the press tells, and asks for no folder.
    {"yes, save",
     "sample yes set press idle menu:Save_settings box:backup generated-checked box:written idle "
     "cfg:sample-output cf0:sample-input rm press box:missing idle press box:missing idle"},
    // No, then typed folders: Cancel reads nothing and the next press asks again; a wrong
    // folder, asked for again; the file's own name in quotes. Exit saves nothing.
    {"no, typed",
     "sample no press cancel idle fresh press input:empty box:missing@empty idle press "
     "input:quoted idle notset menu:Exit ended cfg:sample-input cf0:none"},
    // Each row's label names the setting its controls read, and the save writes them back.
    {"rows", "sample no press input idle rows"},
    // A save after a typed folder backs up first; a line break in a value stays out of it.
    {"typed, save",
     "sample no press input idle gamma menu:Save_settings box:backup box:generated box:written "
     "idle cfg:gamma-output cf0:sample-input"},
    // The system's reasons: a settings file held open, a folder that is not there.
    {"held, save",
     "sample no press input idle hold menu:Save_settings box:backup box:generated box:locked idle "
     "cfg:sample-input cf0:sample-input"},
    {"gone, save",
     "no press input:gone box:missing@gone idle menu:Save_settings box:generated "
     "box:no-folder@gone "
     "idle"},
    // The game rewrote the file while the last box before the write was open: nothing saved.
    {"changed on disk, save",
     "sample no press input idle menu:Save_settings box:backup generated-then-changed box:changed "
     "idle cfg-changed cf0:sample-input"},
    // A close while a box is open waits for the box, then the program ends well.
    {"close during the question", "sample start close answer-yes box:found ended"},
    {"close during the input box",
     "sample no press close input idle ended cfg:sample-input cf0:none"},
    {"close during a save",
     "sample no press input idle menu:Save_settings close endsession box:backup box:generated "
     "box:written ended cfg:sample-output cf0:sample-input"},
    {"layout at the display's DPI", "sample no press input idle demo visible layout"},
    // Enter presses Command1; the focus comes back after a box; Tab walks the focus order; the
    // donation label's click copies; About.
    {"keys, clipboard, about",
     "no enter cancel idle focus:Command1 tab focus:Text1 menu:About box:about focus:Text1 "
     "tabkeys clipboard"},
    {"launch: the game from the 32-bit view, maximised in its folder",
     "no menu:Launch_Corvane.exe idle launched"},
    {"launch without the game's entry", "game no menu:Launch_Corvane.exe box:not-installed idle"},
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
