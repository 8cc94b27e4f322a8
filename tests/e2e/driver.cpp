// End-to-end tests: each starts the real Velkin.exe under Wine, on the machine that run-e2e.sh
// sets up, works it from outside as a user would, and checks the window and the files on disk.
//   velkin_e2e [GoogleTest flags]
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "tests/harness/harness.h"
#include "window/ids.h"

namespace {

using namespace e2e;
using velkin::CheckId;
using velkin::kCommand1;
using velkin::kMainWindowClass;
using velkin::LabelId;
using velkin::TextId;

std::string Environment(const wchar_t* name) {
    const wchar_t* value = _wgetenv(name);
    return value ? Utf8(value) : "";
}

// The machine that run-e2e.sh sets up. The game, the decoy that an unquoted start or the 64-bit
// registry view would run, and a planted cmd.exe are the stand-in, which records each start.
const std::string velkinDir = "C:\\velkin";
const std::string kReadOnlyDir = "C:\\readonly";
const std::string kGameDir = "C:\\Games\\Corvane Test", kGame = kGameDir + "\\Corvane.exe";
const std::string kStarts = "C:\\e2e\\starts.record";
// The settings folder in Documents, spelt as Velkin's detection spells it.
const std::string kUser = Environment(L"USERNAME");
const std::string kDocs = "C:\\Users\\" + kUser + "\\Documents\\Corvane";
const std::string kCfg = kDocs + "\\Environment.cfg", kCf0 = kDocs + "\\Environment.cf0";
const std::string kGolden = "C:\\e2e\\golden\\";  // tests/golden, copied by run-e2e.sh

const wchar_t kGameKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane_is1";
const wchar_t kWindowsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion";
const wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// The menu's entries by their places: `menu` on the bar from the left, `place` in its menu from
// the top (0: the bar's entry itself).
struct MenuPlace {
    int menu, place;
};
const MenuPlace kLaunchCorvane = {0, 1}, kSaveSettings = {0, 2}, kExit = {0, 3}, kAbout = {1, 0};

// A box's icon as the user sees it, named for the messages.
const std::string kNoIcon = "no icon", kError = "the error icon", kWarning = "the warning icon";
const std::string kUnpainted = "no icon painted";

// A box as the user sees it: its text, icon and buttons left to right, '*' after the default.
struct Box {
    std::string text;
    std::string icon = kNoIcon;
    std::string buttons = "OK*";
};

const std::string kTitle = "Velkin by the Velkin team";
const Box kQuestionBox = {"Would you like to try and automatically detect settings path?", kNoIcon,
                          "Yes* No"};
const Box kFoundBox = {
    "Settings path auto-detected :) Click Set Environment.cfg to detect values."};
const Box kInputBox = {
    "input box: Enter the full path to you Environment.cfg file. Usually in C:\\Users\\"
    "%USERNAME%\\Documents\\Corvane on Vista\\Win7 C:\\Documents and Settings\\%USERNAME%\\My "
    "Documents\\Corvane on Windows XP. Do not enter trailing \\!",
    kNoIcon, "OK* Cancel"};
const Box kBackupBox = {"Creating Backup of Current Settings to Environment.cf0", kWarning};
const Box kGeneratedBox = {"Config file generated! Press OK to write Environment.cfg!"};
const Box kWrittenBox = {"Environment.cfg written successfully!"};
const Box kNotInstalledBox = {
    "Corvane is not installed: its entry was not found in the registry, "
    "so Velkin does not know where to start it from.",
    kError};
const Box kAFolderBox = {
    "Could not start C:\\Games\\Corvane Test:\r\nIt is a folder, not a program.", kError};
const Box kNotAProgramBox = {
    "Could not start C:\\Games\\notes.exe:\r\nIt is not a program that Windows can start.", kError};
const Box kClipboardBox = {"BitCoin address now in clipboard! Ctrl+V to paste."};
const Box kAboutBox = {
    "Velkin v0.2.1 by the Velkin team\r\n"
    "CORVANE Advanced Config Tool v0.2.1\r\n"
    "Beta Release, Writes Enabled!\r\n"
    "E-mail: none given\r\n"
    "Social media: none given\r\n"
    "BitCoin: no-donation-address-set\r\n"
    "Web log: none given"};

Box MissingBox(const std::string& folder) {
    return {
        "There is no Environment.cfg in " + folder + ".\r\nSave settings would create one there.",
        kWarning};
}

// The save over a file that the game holds open: the system's reason, as Wine words it, and the
// backup already written.
const Box kHeldOpenBox = {"Could not write " + kCfg +
                              ":\r\nAccess denied.\r\nThe file was left as it was; Environment.cf0 "
                              "now holds the settings as Velkin read them.",
                          kError};

// The rows: a label's caption, the settings of the controls right of it ("KEY=": a text box).
const std::pair<std::string, std::vector<std::string>> kRows[] = {
    {"Sound........................", {"SND_ENABLE"}},
    {"Development............", {"SHOW_DEVELOPMENT"}},
    {"Skip Intro.................", {"SKIPINTRO"}},
    {"Confidental...............", {"SHOW_CONFIDENTIAL"}},
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

std::string Name(int id) {
    const std::string n = std::to_string(id % 100);  // the Id functions add it to a base
    return id == kCommand1           ? "Command1"
           : id == CheckId(id % 100) ? "Check" + n
           : id == TextId(id % 100)  ? "Text" + n
           : id == LabelId(id % 100) ? "Label" + n
                                     : "control " + std::to_string(id);
}

// The display's DPI as run-e2e.sh set it.
const int kDpi =
    Environment(L"VELKIN_E2E_DPI").empty() ? 96 : std::stoi(Environment(L"VELKIN_E2E_DPI"));

std::string ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return Utf8(name);
}

// A child's rectangle in its parent's client area.
RECT PlaceOf(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Show(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

// The pixels, row by row, of a w x h picture that `paint` draws.
std::vector<COLORREF> Pixels(int w, int h, const std::function<void(HDC)>& paint) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    paint(dc);
    GdiFlush();
    std::vector<COLORREF> pixels;
    for (int i = 0; bits && i < w * h; ++i) {
        const DWORD p = static_cast<const DWORD*>(bits)[i];  // 0x00RRGGBB
        pixels.push_back(RGB(p >> 16 & 255, p >> 8 & 255, p & 255));
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return pixels;
}

// What the screen shows of `r`.
std::vector<COLORREF> OnScreen(const RECT& r) {
    return Pixels(r.right - r.left, r.bottom - r.top, [&](HDC dc) {
        HDC screen = GetDC(nullptr);
        BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
}

// The box's icon, told by comparing what it shows with the stock icons drawn here: the icon
// handles of another process cannot be compared or read under Wine.
std::string IconOf(HWND box) {
    HWND shown = nullptr;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(c) &&
            SendTo(c, STM_GETICON) != 0) {
            shown = c;
        }
    }
    if (shown == nullptr) {
        return kNoIcon;
    }
    RECT place, size;
    GetWindowRect(shown, &place);
    GetClientRect(shown, &size);
    const std::vector<COLORREF> seen = OnScreen(place);
    // Each stock icon drawn as the icon control draws it: at its own size, on the box's colour.
    const wchar_t* const stock[] = {IDI_HAND, IDI_EXCLAMATION, IDI_ASTERISK, IDI_QUESTION};
    const std::string names[] = {kError, kWarning, "the information icon", "the question icon"};
    for (int kind = 0; kind < 4 && !seen.empty(); ++kind) {
        const std::vector<COLORREF> drawn = Pixels(size.right, size.bottom, [&](HDC dc) {
            HBRUSH brush = CreateSolidBrush(seen[0]);
            FillRect(dc, &size, brush);
            DeleteObject(brush);
            DrawIconEx(dc, 0, 0, LoadIconW(nullptr, stock[kind]), 0, 0, 0, nullptr, DI_NORMAL);
        });
        if (drawn == seen) {
            return names[kind];
        }
    }
    return kUnpainted;  // not yet, or not a stock icon
}

// The box's buttons left to right (top down in a column), '*' after the default.
std::string ButtonsOf(HWND box) {
    std::map<std::pair<LONG, LONG>, std::string> buttons;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) == "Button" && IsWindowVisible(c)) {
            std::string text = TextOf(c);
            text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
            const bool isDefault = (GetWindowLongW(c, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
            buttons[{PlaceOf(c).left, PlaceOf(c).top}] = text + (isDefault ? "*" : "");
        }
    }
    std::string all;
    for (const auto& [place, text] : buttons) {
        all += (all.empty() ? "" : " ") + text;
    }
    return all;
}

// Sets a text value in the 32-bit view, or deletes its key when `type` is 0.
void Register(HKEY root, const wchar_t* path, const wchar_t* name, DWORD type,
              const std::string& data) {
    HKEY key = nullptr;
    RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key,
                    nullptr);
    const std::wstring wide = Wide(data);
    const LONG rc = type ? RegSetValueExW(key, name, 0, type, (const BYTE*)wide.c_str(),
                                          DWORD((wide.size() + 1) * sizeof(wchar_t)))
                         : RegDeleteKeyExW(root, path, KEY_WOW64_32KEY, 0);
    RegCloseKey(key);
    Must(rc == ERROR_SUCCESS,
         "changing " + Utf8(path) + ": expected done, got error " + std::to_string(rc));
}

void RegisterGame(const std::string& path) {
    Register(HKEY_LOCAL_MACHINE, kGameKey, L"DisplayIcon", REG_SZ, path);
}

std::string Golden(const std::string& name) {
    return ReadWhole(kGolden + name + ".cfg");
}

// The height of the red text that `label` shows on screen, in rows of pixels.
int RedTextHeight(HWND label) {
    RECT r;
    GetWindowRect(label, &r);
    const int width = r.right - r.left;
    const std::vector<COLORREF> pixels = OnScreen(r);
    int first = -1, last = -1;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const COLORREF p = pixels[i];
        if (GetRValue(p) >= 160 && GetGValue(p) < 100 && GetBValue(p) < 100) {
            last = int(i) / width;
            first = first < 0 ? last : first;
        }
    }
    return first < 0 ? 0 : last - first + 1;
}

class VelkinTest : public ::testing::Test {
  protected:
    // The machine as run-e2e.sh left it: the game registered, Windows 7, Documents in place, no
    // settings files and no start recorded.
    void SetUp() override {
        Register(HKEY_LOCAL_MACHINE, kGameKey, L"DisplayIcon", REG_EXPAND_SZ,
                 "%SystemDrive%\\Games\\Corvane Test\\Corvane.exe");
        Register(HKEY_LOCAL_MACHINE, kWindowsKey, L"CurrentVersion", REG_SZ, "6.1");
        Register(HKEY_CURRENT_USER, kShellFolders, L"Personal", REG_EXPAND_SZ,
                 "%USERPROFILE%\\Documents");
        SetFileAttributesW(Wide(kCfg).c_str(), FILE_ATTRIBUTE_NORMAL);
        for (const std::string& file : {kCfg, kCf0, kStarts}) {
            DeleteFileW(Wide(file).c_str());
        }
    }
    // A start is recorded even when the test failed before it looked.
    void TearDown() override {
        p_.reset();
        EXPECT_EQ("<no file>", ReadWhole(kStarts)) << "programs started that were not expected";
    }

    // Velkin started from `home`, beside a usr.tmp left by an earlier version, up to its
    // question.
    void StartVelkin(const std::string& home = velkinDir) {
        if (home == velkinDir) {
            WriteWhole(home + "\\usr.tmp", "olduser ");
        }
        p_.emplace(home + "\\Velkin.exe", home);
        p_->WaitFor("the start-up question, the main window hidden behind it", [&] {
            Must(!p_->Find(kMainWindowClass),
                 "main window: expected hidden before the answer, got shown");
            return p_->Find(kBoxClass) &&
                   FindWindowExW(nullptr, nullptr, kMainWindowClass, nullptr);
        });
    }
    // Started and answered (Yes: the folder then detected), up to the main window shown.
    void StartVelkinAnswering(int button, const std::string& home = velkinDir) {
        StartVelkin(home);
        ExpectBox(kQuestionBox, button);
        if (button == IDYES) {
            ExpectBox(kFoundBox);
        }
        p_->Until("the main window",
                  [&] { return (main_ = p_->Find(kMainWindowClass)) != nullptr; });
        EXPECT_EQ("Velkin - Corvane Advanced Config Tool v0.2.1", TextOf(main_)) << "the title";
        // Removed, but where it cannot be: there it stays as run-e2e.sh left it.
        EXPECT_EQ(home == velkinDir ? "<no file>" : "olduser ", ReadWhole(home + "\\usr.tmp"))
            << "usr.tmp beside Velkin.exe";
    }

    // The box shown next is `want`; `meanwhile` runs while it is open, then `button` is pressed.
    void ExpectBox(const Box& want, int button = IDOK,
                   const std::function<void(HWND)>& meanwhile = nullptr) {
        const std::string name = "the box \"" + want.text.substr(0, want.text.find('\r')) + "\"";
        HWND box = nullptr;
        std::string icon = kUnpainted;
        p_->WaitFor(name + " shown, with no icon or a stock one painted", [&] {
            return (box = p_->Find(kBoxClass)) && (icon = IconOf(box)) != kUnpainted;
        });
        EXPECT_EQ(kTitle, TextOf(box)) << "the title of " << name;
        EXPECT_EQ(want.text, BoxText(box)) << "the text of " << name;
        EXPECT_EQ(want.buttons, ButtonsOf(box))
            << "the buttons of " << name << ", left to right, '*' the default";
        EXPECT_EQ(want.icon, icon) << "the icon of " << name;
        if (meanwhile) {
            meanwhile(box);
        }
        p_->Press(box, button);
    }
    // The input box answered with `folder` typed in.
    void TypeFolder(const std::string& folder, int button = IDOK) {
        ExpectBox(kInputBox, button,
                  [&](HWND box) { SetText(GetDlgItem(box, IDC_ANSWER), folder); });
    }

    // Clicks, sent without waiting for the boxes they open.
    void PressEnvironmentCfg() { busy_ = p_->Send(Control(kCommand1), BM_CLICK); }
    // Walked with the keyboard: F10, Right to the menu, Down to the place, Enter.
    void Menu(MenuPlace entry) {
        std::vector<WPARAM> keys(entry.menu, VK_RIGHT);
        keys.insert(keys.end(), entry.place, VK_DOWN);
        keys.push_back(VK_RETURN);
        PostMessageW(main_, WM_SYSCOMMAND, SC_KEYMENU, 0);
        for (WPARAM key : keys) {
            PostMessageW(main_, WM_KEYDOWN, key, 1);
        }
    }
    void Key(WPARAM key) {
        HWND focused = Control(Focused());
        PostMessageW(focused, WM_KEYDOWN, key, 1);
        PostMessageW(focused, WM_KEYUP, key, 0xC0000001);
    }
    // A click inside the control, at its top left corner.
    void Click(int id) {
        PostMessageW(Control(id), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        PostMessageW(Control(id), WM_LBUTTONUP, 0, 0);
    }
    // The last click's handler ended, with no box shown.
    void WaitIdle() {
        p_->Until("the program idle", [&] { return Done(busy_); });
    }
    // Reads `text` as Environment.cfg from the folder already known, without a box.
    void ReadFile(const std::string& text) {
        WriteWhole(kCfg, text);
        PressEnvironmentCfg();
        WaitIdle();
    }
    // A close, as taskkill and installers send it, while a box is open: the box stays.
    void CloseWhileABoxIsOpen() {
        p_->WaitFor("a box", [&] { return p_->Find(kBoxClass) != nullptr; });
        HWND main = FindWindowExW(nullptr, nullptr, kMainWindowClass, nullptr);  // perhaps hidden
        std::future<LRESULT> closed = p_->Send(main, WM_CLOSE);
        p_->WaitFor("WM_CLOSE handled", [&] { return Done(closed); });
        Must(p_->Find(kBoxClass), "after WM_CLOSE: expected the box still open, got none");
    }
    void ExpectEnd() {
        DWORD code = STILL_ACTIVE;
        p_->WaitFor("the end",
                    [&] { return GetExitCodeProcess(p_->process, &code) && code != STILL_ACTIVE; });
        EXPECT_EQ(0u, code) << "the exit code";
    }

    // `path` holds the golden file named `golden` byte for byte ("": no file there).
    void ExpectFile(const std::string& path, const std::string& golden) {
        EXPECT_EQ(golden.empty() ? "<no file>" : Golden(golden), ReadWhole(path))
            << path << ": expected " << (golden.empty() ? "no file" : "as " + golden);
    }
    void ExpectFocus(int id) {
        p_->WaitFor(
            Name(id) + " focused", [&] { return Focused() == id; },
            [&] { return Name(Focused()) + " focused"; });
    }
    // File > Launch Corvane.exe after a No: `game` started in its own folder, maximised, as the
    // stand-in recorded it.
    void ExpectLaunched(const std::string& game) {
        StartVelkinAnswering(IDNO);
        Menu(kLaunchCorvane);
        WaitIdle();
        std::string starts;
        p_->Until("a start recorded",
                  [&] { return (starts = ReadWhole(kStarts)).find('\n') != std::string::npos; });
        DeleteFileW(Wide(kStarts).c_str());
        const std::string folder = game.substr(0, game.rfind('\\'));
        EXPECT_EQ(game + "\t\"" + game + "\"\t" + folder + "\t1\r\n", starts)
            << "the starts recorded: path, command line, folder, maximised";
    }

    // The sample settings read from the folder typed in after a No.
    void ReadTypedSample() {
        WriteWhole(kCfg, Golden("sample-input"));
        StartVelkinAnswering(IDNO);
        PressEnvironmentCfg();
        TypeFolder(kDocs);
        WaitIdle();
    }
    // File > Save settings over a file read, through its three boxes, each answered OK;
    // `meanwhile` runs while the last before the write is open.
    void SaveThroughTheBoxes(const Box& last = kWrittenBox,
                             const std::function<void(HWND)>& meanwhile = nullptr) {
        Menu(kSaveSettings);
        ExpectBox(kBackupBox);
        ExpectBox(kGeneratedBox, IDOK, meanwhile);
        ExpectBox(last);
        WaitIdle();
    }
    // After a Yes: the folder detected ("Set.") and its file read without a box.
    void ExpectDetectedAndRead(const std::string& home = velkinDir) {
        StartVelkinAnswering(IDYES, home);
        EXPECT_EQ("Set.", Text(velkin::kMarkerLabel)) << "the marker right of Command1";
        PressEnvironmentCfg();
        WaitIdle();
    }
    // File > Launch Corvane.exe refused with `box`.
    void ExpectLaunchRefused(const Box& box) {
        StartVelkinAnswering(IDNO);
        Menu(kLaunchCorvane);
        ExpectBox(box);
        WaitIdle();
    }
    // Each row's label names the setting its controls read, and its check box: four files, every
    // value different, the switches spelling each row's number in binary.
    void ExpectRows() {
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
            ReadFile(file);
            std::map<std::pair<LONG, LONG>, HWND> at;  // the controls by top, then left
            for (HWND w = GetWindow(main_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
                at[{PlaceOf(w).top, PlaceOf(w).left}] = w;
            }
            for (const auto& [caption, keys] : kRows) {
                auto label = std::find_if(at.begin(), at.end(), [&](const auto& c) {
                    return ClassOf(c.second) == "Static" && TextOf(c.second) == caption;
                });
                ASSERT_NE(at.end(), label) << "expected the label \"" << caption << "\", got none";
                std::string expected, shown;
                auto c = std::next(label);  // the controls right of it, on its row
                for (const std::string& key : keys) {
                    HWND w = c != at.end() && c->first.first == label->first.first ? c++->second
                                                                                   : nullptr;
                    // A check box is named after its row, for screen readers: without the dots.
                    const bool box = key.back() != '=';
                    expected +=
                        " " + (box ? caption.substr(0, caption.find('.')) + "=" : "") + value[key];
                    shown += " " + (!w    ? "<none>"
                                    : box ? TextOf(w) + "=" + std::to_string(SendTo(w, BM_GETCHECK))
                                          : TextOf(w));
                }
                EXPECT_EQ(expected, shown) << "the row \"" << caption << "\", file " << bit;
            }
        }
    }

    // Every control's place, in turn.
    std::vector<std::string> Places() {
        std::vector<std::string> places;
        for (HWND w = GetWindow(main_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
            places.push_back(Name(GetDlgCtrlID(w)) + " " + Show(PlaceOf(w)));
        }
        return places;
    }
    // The window laid out for `dpi`: the design's client area and places in twips, its fonts and
    // its picture.
    void ExpectLayout(int dpi) {
        // No two controls overlapping but by the design's 15 twips on a row (three labels, Text1).
        auto px = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };
        RECT client;
        GetClientRect(main_, &client);
        EXPECT_EQ(Show({0, 0, px(6135), px(4950)}), Show(client)) << "the client area";
        EXPECT_EQ(Show({px(540), px(120), px(540 + 1335), px(120 + 375)}),
                  Show(PlaceOf(Control(kCommand1))))
            << "Command1";
        std::vector<std::pair<HWND, RECT>> controls;
        for (HWND w = GetWindow(main_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
            const RECT r = PlaceOf(w);
            RECT inside;
            EXPECT_TRUE(IntersectRect(&inside, &r, &client) && EqualRect(&inside, &r))
                << Name(GetDlgCtrlID(w)) << " " << Show(r) << ": expected inside " << Show(client);
            for (const auto& [other, o] : controls) {
                RECT both;
                // Each edge is rounded on its own: one pixel more.
                EXPECT_TRUE(!IntersectRect(&both, &r, &o) ||
                            (r.top == o.top && both.right - both.left <= px(15) + 1))
                    << Name(GetDlgCtrlID(w)) << " " << Show(r) << " and "
                    << Name(GetDlgCtrlID(other)) << " " << Show(o)
                    << ": expected apart, got overlapping";
            }
            controls.push_back({w, r});
        }
        // What is on screen, once painted: nothing left in any update region.
        p_->WaitFor("the window painted", [&] { return Painted(main_); });
        // The labels' text red on the picture, in their 9-point font: about three quarters of its
        // em square high ("Sound" has no descender).
        const int em = MulDiv(9, dpi, 72), height = RedTextHeight(Control(LabelId(1)));
        EXPECT_TRUE(height > em * 2 / 3 && height <= em)
            << "Label1's red text at " << dpi << " DPI: expected " << em * 2 / 3 + 1 << " to " << em
            << " pixels high, got " << height;
        // The picture fills the window: near the far corner it shows its own colour there, about
        // RGB(28,32,43) (measured in window/res/background.jpg), not the fill RGB(16,18,25) nor
        // black.
        MapWindowPoints(main_, nullptr, reinterpret_cast<POINT*>(&client), 2);
        const POINT spot = {client.right - px(90), client.bottom - px(90)};
        const COLORREF seen = OnScreen({spot.x, spot.y, spot.x + 1, spot.y + 1}).at(0);
        const int off = std::max({std::abs(GetRValue(seen) - 28), std::abs(GetGValue(seen) - 32),
                                  std::abs(GetBValue(seen) - 43)});
        EXPECT_LE(off, 7) << "near the client area's far corner: expected the picture, about "
                             "RGB(28,32,43), got RGB("
                          << int(GetRValue(seen)) << "," << int(GetGValue(seen)) << ","
                          << int(GetBValue(seen)) << ")";
    }

    HWND Control(int id) {
        HWND hwnd = GetDlgItem(main_, id);
        Must(hwnd, "expected " + Name(id) + " in the main window, got none");
        return hwnd;
    }
    std::string Text(int id) { return TextOf(Control(id)); }
    int Focused() {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(main_, nullptr), &info);
        return GetDlgCtrlID(info.hwndFocus);
    }

    std::future<LRESULT> busy_;  // the last click's handler; goes after `p_` ends
    std::optional<Program> p_;
    HWND main_ = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Saving

TEST_F(VelkinTest, YesThenSaveBacksUpAndWritesAndAFileGoneIsToldOnEachPress) {
    WriteWhole(kCfg, Golden("sample-input"));
    ExpectDetectedAndRead();
    // Nothing is written before the last box is answered.
    SaveThroughTheBoxes(kWrittenBox, [&](HWND) { ExpectFile(kCfg, "sample-input"); });
    ExpectFile(kCfg, "sample-output");
    ExpectFile(kCf0, "sample-input");
    DeleteFileW(Wide(kCfg).c_str());
    for (int press = 0; press < 2; ++press) {
        PressEnvironmentCfg();
        ExpectBox(MissingBox(kDocs));
        WaitIdle();
    }
}

// Cancel reads nothing; a folder without the file is asked for again; a path pasted with quotes
// is read, and a close that comes while it is typed waits for the read. The folders are named
// outside the code page, and so shown in the box.
TEST_F(VelkinTest, TypedFolderCancelledWrongThenQuotedIsReadAndACloseWaitsForIt) {
    const std::string folder = "C:\\Dokumenty Łukasza";
    WriteWhole(folder + "\\Corvane\\Environment.cfg", Golden("sample-input"));
    StartVelkinAnswering(IDNO);
    PressEnvironmentCfg();
    TypeFolder(folder + "\\Corvane", IDCANCEL);
    WaitIdle();
    for (int n = 1; n <= 13; ++n) {
        EXPECT_EQ(0u, SendTo(Control(CheckId(n)), BM_GETCHECK)) << Name(CheckId(n)) << " at first";
    }
    for (int n = 1; n <= 14; ++n) {
        EXPECT_EQ("", Text(TextId(n))) << Name(TextId(n)) << " at first";
    }
    EXPECT_EQ("NOT Set.", Text(velkin::kMarkerLabel)) << "the marker right of Command1";
    // A folder typed in without the file is asked for again on the next press.
    PressEnvironmentCfg();
    TypeFolder(folder);
    ExpectBox(MissingBox(folder));
    WaitIdle();
    PressEnvironmentCfg();
    CloseWhileABoxIsOpen();
    TypeFolder("  \"" + folder + "\\Corvane\\ENVIRONMENT.CFG\"  ");  // as "Copy as path" gives it
    WaitIdle();
    ExpectEnd();
}

// A user types a value, ticks one box with the mouse and another with Space (the focus stays on
// the last), and saves.
TEST_F(VelkinTest, ValuesTypedAndBoxesTickedByAClickAndBySpaceAreSaved) {
    ReadTypedSample();
    // Read back as set: a line break that the edit control dropped would leave nothing to test.
    SetText(Control(TextId(6)), "1.0\r\nFORCESPECTATOR=1");  // Gamma
    Click(CheckId(13));                                      // Movie Grain
    ExpectFocus(CheckId(13));
    Key(VK_TAB);
    Key(VK_TAB);
    ExpectFocus(CheckId(11));  // Motion Blur DOF
    Key(VK_SPACE);
    p_->WaitFor("Check11 ticked", [&] { return SendTo(Control(CheckId(11)), BM_GETCHECK) != 0; });
    SaveThroughTheBoxes();
    // What follows the line break never reaches the file.
    ExpectFile(kCfg, "edited-output");
}

TEST_F(VelkinTest, SaveOverAFileHeldOpenTellsTheSystemsReasonAndKeepsIt) {
    ReadTypedSample();
    // Open as the game may hold it: shared but for deleting.
    HANDLE held = CreateFileW(Wide(kCfg).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held) << "holding " << kCfg << " open";
    SaveThroughTheBoxes(kHeldOpenBox);
    CloseHandle(held);
    ExpectFile(kCfg, "sample-input");
    ExpectFile(kCf0, "sample-input");
}

// A player made the file read-only so that the game cannot reset it: asked first. What each
// answer does is the core's; the answers are seen in the start-up question.
TEST_F(VelkinTest, AReadOnlyFileIsAskedAbout) {
    ReadTypedSample();
    SetFileAttributesW(Wide(kCfg).c_str(), FILE_ATTRIBUTE_READONLY);
    Menu(kSaveSettings);
    ExpectBox({"Environment.cfg is read-only, perhaps so that the game cannot change it. Write it "
               "anyway and keep it read-only?",
               kWarning, "Yes* No"},
              IDNO);
    WaitIdle();
}

// ---------------------------------------------------------------------------------------------
// A close while a box is open waits for the box, then the program ends well.

TEST_F(VelkinTest, CloseDuringTheQuestionWaitsForTheAnswer) {
    WriteWhole(kCfg, Golden("sample-input"));
    StartVelkin();
    CloseWhileABoxIsOpen();
    ExpectBox(kQuestionBox, IDYES);
    ExpectBox(kFoundBox);
    ExpectEnd();
}

TEST_F(VelkinTest, CloseDuringASaveWaitsAndHoldsTheSessionsEnd) {
    ReadTypedSample();
    SaveThroughTheBoxes(kWrittenBox, [&](HWND) {
        CloseWhileABoxIsOpen();
        EXPECT_EQ(0u, SendTo(main_, WM_QUERYENDSESSION))
            << "WM_QUERYENDSESSION answered while a save waits in a box";
    });
    ExpectEnd();
    ExpectFile(kCfg, "sample-output");
}

// ---------------------------------------------------------------------------------------------
// The window

TEST_F(VelkinTest, LayoutRowsAndValuesAtTheDisplaysDpi) {
    ReadTypedSample();
    ExpectRows();
    // Every value shows whole in its box: scrolled to its end, its first character stays in view.
    ReadFile(ReadWhole("C:\\e2e\\demo.cfg"));  // the demo's Environment.cfg
    for (int n = 1; n <= 14; ++n) {
        HWND box = Control(TextId(n));
        SendTo(box, EM_SETSEL, 0, -1);  // all, the caret at the end
        SendTo(box, EM_SCROLLCARET);
        EXPECT_EQ(0u, SendTo(box, EM_GETFIRSTVISIBLELINE))
            << Name(TextId(n)) << " \"" << Text(TextId(n)) << "\": characters out of view";
    }
    ExpectLayout(kDpi);
}

// Windows moves the window to a monitor of another DPI, and back: laid out for each, and back
// where it stood.
TEST_F(VelkinTest, AMoveToAMonitorOfAnotherDpiLaysTheWindowOutForIt) {
    StartVelkinAnswering(IDNO);
    std::vector<std::string> before = Places();
    for (int dpi : {kDpi * 3 / 2, kDpi}) {
        RECT frame;
        GetWindowRect(main_, &frame);
        // The suggested rectangle lives in Velkin's memory, as the one Windows sends does.
        void* remote = VirtualAllocEx(p_->process, nullptr, sizeof frame, MEM_COMMIT | MEM_RESERVE,
                                      PAGE_READWRITE);
        ASSERT_TRUE(remote &&
                    WriteProcessMemory(p_->process, remote, &frame, sizeof frame, nullptr))
            << "expected the rectangle in Velkin's memory, got error " << GetLastError();
        SendTo(main_, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi), LPARAM(remote));
        VirtualFreeEx(p_->process, remote, 0, MEM_RELEASE);
        ExpectLayout(dpi);
    }
    EXPECT_EQ(before, Places()) << "the controls back at " << kDpi << " DPI";
}

// Enter presses Command1, the focus comes back after a box, Tab, About, the donation label,
// Exit.
TEST_F(VelkinTest, KeysFocusAboutTheClipboardAndExit) {
    StartVelkinAnswering(IDNO);
    Key(VK_RETURN);
    TypeFolder(kDocs, IDCANCEL);
    WaitIdle();
    ExpectFocus(kCommand1);
    Key(VK_TAB);
    ExpectFocus(TextId(1));
    Menu(kAbout);
    ExpectBox(kAboutBox);
    ExpectFocus(TextId(1));
    // Tab walks from Command1 through the text boxes, then the check boxes bottom up, back to
    // Command1; Shift+Tab from there goes to Check1.
    HWND at = Control(kCommand1);
    for (int step = 1; step <= 14 + 13 + 1; ++step) {
        const int id = step <= 14 ? TextId(step) : step <= 27 ? CheckId(28 - step) : kCommand1;
        HWND next = GetNextDlgTabItem(main_, at, FALSE);
        EXPECT_EQ(Name(id), Name(GetDlgCtrlID(next))) << "Tab from " << Name(GetDlgCtrlID(at));
        at = next;
    }
    EXPECT_EQ(Name(CheckId(1)), Name(GetDlgCtrlID(GetNextDlgTabItem(main_, at, TRUE))))
        << "Shift+Tab from Command1";
    // A click on the donation label empties the clipboard and puts the address it shows there.
    Click(velkin::kDonationLabel);
    ExpectBox(kClipboardBox);
    DWORD emptiedBy = 0;  // the owner is the window of the last EmptyClipboard
    GetWindowThreadProcessId(GetClipboardOwner(), &emptiedBy);
    EXPECT_EQ(p_->pid, emptiedBy) << "the process that emptied the clipboard, Velkin's expected";
    // Wine's clipboard manager may hold the clipboard for a moment.
    p_->WaitFor("the clipboard", [] { return OpenClipboard(nullptr) != 0; });
    HANDLE text = GetClipboardData(CF_UNICODETEXT);
    const std::string address =
        text ? Utf8(static_cast<const wchar_t*>(GlobalLock(text))) : "<no text>";
    GlobalUnlock(text);
    CloseClipboard();
    EXPECT_EQ("BitCoin no-donation-address-set", Text(velkin::kDonationLabel));
    EXPECT_EQ("no-donation-address-set", address) << "the clipboard";
    Menu(kExit);
    ExpectEnd();
}

// ---------------------------------------------------------------------------------------------
// Launching the game

TEST_F(VelkinTest, LaunchStartsTheGameFromThe32BitViewMaximisedInItsFolder) {
    ExpectLaunched(kGame);
}

// The registry's limit: 254 characters and the end of the text fill the 255 that Velkin reads.
std::string LongGame(std::size_t length) {
    const std::string name = "\\Corvane.exe";
    const std::string folder = "C:\\Games\\" + std::string(length - 9 - name.size(), 'L');
    CreateDirectoryW(Wide(folder).c_str(), nullptr);
    Must(CopyFileW(Wide(kGame).c_str(), Wide(folder + name).c_str(), FALSE),
         "copying the stand-in to " + folder + ": expected done, got error " +
             std::to_string(GetLastError()));
    return folder + name;
}

TEST_F(VelkinTest, LaunchStartsAGameWhosePathHas254Characters) {
    const std::string game = LongGame(254);
    RegisterGame(game);
    ExpectLaunched(game);
}

// Without the game's entry, and with a path longer than the registry read can hold.
TEST_F(VelkinTest, LaunchWithoutAPathThatFitsSaysNotInstalled) {
    Register(HKEY_LOCAL_MACHINE, kGameKey, nullptr, 0, "");
    ExpectLaunchRefused(kNotInstalledBox);
    p_.reset();
    RegisterGame(LongGame(255));
    ExpectLaunchRefused(kNotInstalledBox);
}

// A folder, and a file that is no program.
TEST_F(VelkinTest, LaunchOfWhatCannotStartSaysWhy) {
    RegisterGame(kGameDir);
    ExpectLaunchRefused(kAFolderBox);
    p_.reset();
    RegisterGame("C:\\Games\\notes.exe");
    ExpectLaunchRefused(kNotAProgramBox);
}

// ---------------------------------------------------------------------------------------------
// Detection from a folder where nothing can be written.

TEST_F(VelkinTest, YesFromAReadOnlyFolderKeepsTheOldUsrTmp) {
    const std::wstring probe = Wide(kReadOnlyDir + "\\probe");
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        DeleteFileW(probe.c_str());
        GTEST_SKIP() << kReadOnlyDir << " is writable here: run-e2e.sh could neither mount it "
                     << "read-only nor take its write permission (root ignores that)";
    }
    WriteWhole(kCfg, Golden("sample-input"));
    ExpectDetectedAndRead(kReadOnlyDir);
}

// ---------------------------------------------------------------------------------------------
// Names and folders outside the code page. Some run again as other Windows users or under code
// page 932, each in a prefix of its own (see CMakeLists.txt).

// As the users Łukasz and 李雷, beside the settings of another account named as code page 1252
// narrows the first.
TEST_F(VelkinTest, TheUsersOwnSettingsAreFoundReadAndSaved) {
    const std::string decoy = "C:\\users\\Lukasz\\Documents\\Corvane\\Environment.cf";
    WriteWhole(decoy + "g", Golden("edited-output"));
    // Found by the user's name alone: the shell's Documents are elsewhere.
    Register(HKEY_CURRENT_USER, kShellFolders, L"Personal", REG_SZ, "C:\\MyDocs");
    WriteWhole(kCfg, Golden("sample-input"));
    ExpectDetectedAndRead();
    SaveThroughTheBoxes();
    ExpectFile(kCfg, "sample-output");
    ExpectFile(kCf0, "sample-input");
    ExpectFile(decoy + "g", "edited-output");
    ExpectFile(decoy + "0", "");
}

class MovedDocuments : public VelkinTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(MovedDocuments, AreFoundThroughTheShellsFolder) {
    ASSERT_EQ(Environment(L"VELKIN_E2E_LOCALE") == "ja_JP" ? 932u : 1252u, GetACP())
        << "the code page of the locale that run-e2e.sh set";
    Register(HKEY_CURRENT_USER, kShellFolders, L"Personal", REG_SZ, GetParam());
    WriteWhole(GetParam() + std::string("\\Corvane\\Environment.cfg"), Golden("sample-input"));
    ExpectDetectedAndRead();
}

// 表 is 95 5C in code page 932, where these run again: its second byte is a backslash.
INSTANTIATE_TEST_SUITE_P(OutsideTheCodePage, MovedDocuments,
                         ::testing::Values("C:\\文档", "C:\\表"));

// Beside it is a decoy, C:\Games\Lukasz\Corvane.exe.
TEST_F(VelkinTest, LaunchStartsAGameInAFolderOutsideTheCodePage) {
    const std::string game = "C:\\Games\\李雷\\Corvane.exe";
    RegisterGame(game);
    ExpectLaunched(game);
}

TEST_F(VelkinTest, SaveOfATypedValueOutsideTheCodePageIsRefusedByName) {
    ReadTypedSample();
    SetText(Control(TextId(6)), "1.0 ł");  // Gamma
    Menu(kSaveSettings);
    ExpectBox(
        {"Nothing was saved: Environment.cfg cannot store the characters typed for Gamma. "
         "Use only characters of your system's code page, then save again.",
         kError});
    WaitIdle();
    ExpectFile(kCfg, "sample-input");
    ExpectFile(kCf0, "");
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    // Window rectangles in the display's pixels, whatever its DPI (user32 of Vista on).
    if (FARPROC aware = GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDPIAware")) {
        reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void*>(aware))();
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
