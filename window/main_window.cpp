#include "window/main_window.h"

#include <algorithm>
#include <exception>
#include <new>

#include "window/input_box.h"
#include "host/launcher.h"
#include "window/layout.h"
#include "window/resource.h"
#include "win32/system_error.h"
#include "win32/text.h"
#include "window/win_text.h"

namespace velkin {

namespace {

constexpr COLORREF kLabelColour = RGB(255, 0, 0);
// Where the picture does not reach: close to its darkest corner.
constexpr COLORREF kFillColour = RGB(16, 18, 25);

// The window is built while start-up's question is open. MessageBox sends its owner no
// WM_ENTERIDLE (DS_NOIDLEMSG), but its modal loop runs our timers, and only after it has
// painted what it shows; until the box is on screen the timer finds nothing to wait behind.
constexpr UINT_PTR kBuildTimer = 1;

// WM_DPICHANGED, which the headers give only to builds for Windows 8.1 on.
constexpr UINT kDpiChanged = 0x02E0;

// Font sizes in twips (20 a point), scaled like the layout.
constexpr int kLabelFontTwips = 180;     // Verdana 9 pt
constexpr int kButtonFontTwips = 160;    // the classic dialog font, 8 pt
constexpr int kTextFontTwips = 150;      // a half point less: four digits fit the narrow boxes
constexpr int kDonationFontTwips = 120;  // Terminal 6 pt

struct KindStyle {
    const wchar_t* className;
    DWORD style;
};

KindStyle StyleOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Button:
            return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON};
        case ControlKind::Label:
            return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX};
        case ControlKind::Check:
            return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX};
        case ControlKind::Text:
            // A single line border rather than the sunken edge: the design's narrowest boxes
            // (25 pixels at 96 DPI) then hold four digits, as a texture quality of 2048 needs.
            return {L"EDIT", WS_TABSTOP | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL};
    }
    return {L"STATIC", 0};
}

BOOL CALLBACK NoteShownBox(HWND window, LPARAM owner) {
    if (GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(owner) && IsWindowVisible(window)) {
        SetLastError(ERROR_SUCCESS);
        return FALSE;  // found: stop
    }
    return TRUE;
}

// Whether a window that `owner` owns, such as a message box, is on screen.
bool ShowsBox(HWND owner) {
    return !EnumThreadWindows(GetCurrentThreadId(), NoteShownBox, reinterpret_cast<LPARAM>(owner));
}

// The DPI of the monitor the window is on (Windows 10 1607 on), else the system's.
int WindowDpi(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    int dpi = getDpiForWindow != nullptr ? static_cast<int>(getDpiForWindow(hwnd)) : 0;
    if (dpi <= 0) {
        ScreenDc screen(GetDC(nullptr));
        dpi = screen.Valid() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    }
    return dpi > 0 ? dpi : 96;
}

bool IsLabelId(int id) {
    return id >= LabelId(1) && id <= LabelId(31);
}

int CALLBACK NoteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FontFamilyExists(const wchar_t* face) {
    ScreenDc screen(GetDC(nullptr));
    LOGFONTW wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExW(screen.Get(), &wanted, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

HFONT MakeFont(const wchar_t* face, int twips, int dpi, BYTE charset, BYTE pitchAndFamily,
               LONG weight = FW_BOLD) {
    LOGFONTW font = {};
    font.lfHeight = -ScaleTwips(twips, dpi);
    font.lfWeight = weight;
    font.lfCharSet = charset;
    font.lfPitchAndFamily = pitchAndFamily;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

SIZE MeasureText(HDC dc, HGDIOBJ font, const std::string& text) {
    SIZE size = {0, 0};
    if (dc == nullptr) {
        return size;
    }
    HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
    const std::wstring wide = Wide(text);
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    if (old != nullptr) {
        SelectObject(dc, old);
    }
    return size;
}

UINT IconFlag(Icon icon) {
    switch (icon) {
        case Icon::Warning:
            return MB_ICONWARNING;
        case Icon::Error:
            return MB_ICONERROR;
        case Icon::None:
            break;
    }
    return 0;
}

}  // namespace

MainWindow::MainWindow()
    : author_(BuiltInAuthor()),
      title_(ApplicationTitle()),
      files_(MakeNativeFileSystem()),
      machine_(MakeNativeStartupMachine()) {}

MainWindow::~MainWindow() {
    // A window that outlives its object (a failed start) must find no object in it.
    if (hwnd_ != nullptr) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    }
}

Result MainWindow::Create(HINSTANCE instance) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_VELKIN));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_VELKIN),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kMainWindowClass;
    if (RegisterClassExW(&windowClass) == 0) {
        const DWORD code = GetLastError();
        if (code != ERROR_CLASS_ALREADY_EXISTS) {
            return LastError(code);
        }
    }
    SetLastError(0);
    HWND created = CreateWindowExW(0, kMainWindowClass, L"Form1", WS_OVERLAPPEDWINDOW,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   nullptr, nullptr, instance, this);
    return created != nullptr ? Result::Success() : LastError();
}

Result MainWindow::Start(int show) {
    // Start-up asks its question first; the window is built once the question is on screen.
    SetTimer(hwnd_, kBuildTimer, USER_TIMER_MINIMUM, nullptr);
    RunCommand([&] { RunStartup(host_, settings_.SettingsPath, *this, *machine_, *files_); });
    // Answered before the timer came, or no box was shown at all.
    Build();
    if (hwnd_ == nullptr || !buildResult_.ok) {
        return buildResult_;  // closed during start-up, or not built
    }
    ShowWindow(hwnd_, show);
    UpdateWindow(hwnd_);
    SetFocus(Control(kCommand1));
    return Result::Success();
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* window =
            static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        window->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    // The object belongs to WinMain and outlives the window: no message can free it.
    auto* window = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return window != nullptr ? window->HandleMessage(message, wParam, lParam)
                             : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case DM_GETDEFID:
            return OnGetDefId();
        case WM_CTLCOLORSTATIC:
            return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_ERASEBKGND:
            return OnEraseBkgnd(reinterpret_cast<HDC>(wParam)) ? 1 : 0;
        case kDpiChanged:
            OnDpiChanged(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_ACTIVATE:
            if (OnActivate(wParam)) {
                return 0;
            }
            break;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_QUERYENDSESSION:
            return OnQueryEndSession();
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_NCDESTROY: {
            HWND hwnd = hwnd_;
            OnNcDestroy();
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

template <class Operation>
void MainWindow::RunCommand(Operation&& operation) {
    const bool closeDue = gate_.Run(std::forward<Operation>(operation),
                                    [&](const std::string& why) { ShowMessage(why, Icon::Error); });
    if (closeDue && hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
}

// ---- Message handlers

void MainWindow::OnCreate() {
    dpi_ = WindowDpi(hwnd_);
    // The final size from the start, for boxes placed by their hidden owner.
    SetDesignSize();
}

void MainWindow::OnTimer(UINT_PTR id) {
    if (id != kBuildTimer) {
        return;
    }
    // The box's first paint comes before this timer; before it is shown, there is none.
    if (ShowsBox(hwnd_)) {
        Build();
    }
}

void MainWindow::OnDpiChanged(int dpi, const RECT* suggested) {
    // Moved to a monitor of another DPI: the same layout, drawn for it, in the place suggested.
    if (dpi <= 0 || dpi == dpi_) {
        return;
    }
    dpi_ = dpi;
    if (suggested != nullptr) {
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (built_ && buildResult_.ok) {
        LayOut();
    } else {
        SetDesignSize();
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void MainWindow::OnCommand(int id, int code) {
    switch (id) {
        case kCommand1:
            if (code == BN_CLICKED) {
                RunCommand([&] { ReadSettings(settings_, *this, *files_); });
            }
            break;
        case IDOK:
            // Enter where DM_GETDEFID named no button: the focused push button, if any.
            if (HWND button = FocusedPushButton()) {
                OnCommand(GetDlgCtrlID(button), BN_CLICKED);
            }
            break;
        case kMenuSave:
            RunCommand([&] { WriteSettings(settings_, *this, *files_); });
            break;
        case kMenuLaunch:
            RunCommand([&] { LaunchGame(host_.GamePath, *this); });
            break;
        case kMenuAbout:
            RunCommand([&] { ShowAbout(); });
            break;
        case kMenuExit:
            RunCommand([&] { ExitProgram(); });
            break;
        case kDonationLabel:
            if (code == STN_CLICKED) {
                RunCommand([&] { CopyDonationAddress(); });
            }
            break;
    }
}

LRESULT MainWindow::OnGetDefId() {
    // Enter presses the focused push button, as on a dialog; elsewhere it presses nothing.
    HWND button = FocusedPushButton();
    return button != nullptr ? MAKELONG(GetDlgCtrlID(button), DC_HASDEFID) : 0;
}

LRESULT MainWindow::OnCtlColorStatic(HDC dc, HWND control) {
    if (!IsLabelId(GetDlgCtrlID(control))) {
        return DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(control));
    }
    // The picture shows through: the parent paints under the labels (no WS_CLIPCHILDREN).
    SetTextColor(dc, kLabelColour);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(HOLLOW_BRUSH));
}

bool MainWindow::OnEraseBkgnd(HDC dc) {
    RECT client;
    GetClientRect(hwnd_, &client);
    const SIZE picture = picture_.Paint(dc);
    auto fill = static_cast<HBRUSH>(fillBrush_.Get());
    RECT right = {picture.cx, 0, client.right, client.bottom};
    RECT below = {0, picture.cy, std::min(picture.cx, client.right), client.bottom};
    if (right.left < right.right) {
        FillRect(dc, &right, fill);
    }
    if (below.top < below.bottom && below.left < below.right) {
        FillRect(dc, &below, fill);
    }
    return true;
}

bool MainWindow::OnActivate(WPARAM wParam) {
    // A plain window forgets its focused control when a message box takes the focus away.
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focused = GetFocus();
        if (focused != nullptr && IsChild(hwnd_, focused)) {
            focus_ = focused;
        }
        return false;
    }
    if (HIWORD(wParam) == 0 && focus_ != nullptr && IsWindow(focus_)) {
        SetFocus(focus_);
        return true;
    }
    return false;
}

void MainWindow::OnClose() {
    // As for a dialog's disabled owner: a close (taskkill, an installer, File > Exit) that comes
    // while a command waits in a box is held until the command has finished.
    if (gate_.Close()) {
        DestroyWindow(hwnd_);
    }
}

BOOL MainWindow::OnQueryEndSession() {
    // A command in a box, a save above all, finishes before the session may end.
    return !gate_.Busy();
}

void MainWindow::OnDestroy() {
    PostQuitMessage(0);
}

void MainWindow::OnNcDestroy() {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
}

// ---- Building the window

void MainWindow::Build() {
    if (built_ || hwnd_ == nullptr) {
        return;
    }
    built_ = true;
    KillTimer(hwnd_, kBuildTimer);
    try {
        fillBrush_.Reset(CreateSolidBrush(kFillColour));
        buildResult_ = CreateMenuBar();
        if (buildResult_.ok) {
            buildResult_ = CreateControls();
        }
        if (buildResult_.ok) {
            LayOut();
        }
        focus_ = Control(kCommand1);
    } catch (const std::exception& error) {
        buildResult_ = Result::Failure(error.what());
    }
}

MainWindow::Fonts MainWindow::MakeFonts() const {
    // Where Verdana is missing (Wine), the stand-in the font mapper picks runs much wider;
    // Tahoma is the closest narrow face that is always there.
    const wchar_t* labelFace = FontFamilyExists(L"Verdana") ? L"Verdana" : L"Tahoma";
    Fonts fonts;
    fonts.label.Reset(
        MakeFont(labelFace, kLabelFontTwips, dpi_, ANSI_CHARSET, DEFAULT_PITCH | FF_SWISS));
    // The classic dialog font: the design's narrow boxes were sized for it.
    fonts.button.Reset(MakeFont(L"Tahoma", kButtonFontTwips, dpi_, DEFAULT_CHARSET,
                                DEFAULT_PITCH | FF_SWISS, FW_NORMAL));
    fonts.text.Reset(MakeFont(L"Tahoma", kTextFontTwips, dpi_, DEFAULT_CHARSET,
                              DEFAULT_PITCH | FF_SWISS, FW_NORMAL));
    fonts.donation.Reset(
        MakeFont(L"Terminal", kDonationFontTwips, dpi_, OEM_CHARSET, FIXED_PITCH | FF_MODERN));
    return fonts;
}

Result MainWindow::CreateMenuBar() {
    SetLastError(0);
    HMENU bar = CreateMenu();
    if (bar == nullptr) {
        return LastError();
    }
    HMENU popup = nullptr;
    bool ok = true;
    for (std::size_t i = 0; i < kMenuCount && ok; ++i) {
        const MenuRow& row = kMenu[i];
        if (row.depth == 0 && row.id == 0) {
            popup = CreatePopupMenu();
            ok = popup != nullptr && AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                                                 Wide(row.caption).c_str());
        } else {
            HMENU parent = row.depth == 0 ? bar : popup;
            ok = parent != nullptr && AppendMenuW(parent, MF_STRING, static_cast<UINT_PTR>(row.id),
                                                  Wide(row.caption).c_str());
        }
    }
    if (!ok || !SetMenu(hwnd_, bar)) {
        const Result failure = LastError();
        DestroyMenu(bar);
        return failure;
    }
    return Result::Success();
}

Result MainWindow::CreateControls() {
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlRow& row = kControls[i];
        const KindStyle kind = StyleOf(row.kind);
        DWORD style = WS_CHILD | WS_VISIBLE | kind.style;
        if (row.id == kDonationLabel) {
            style |= SS_NOTIFY;
        }
        // Placed by LayOut, at the DPI of the moment.
        SetLastError(0);
        HWND control = CreateWindowExW(
            0, kind.className, Wide(Caption(i)).c_str(), style, 0, 0, 0, 0, hwnd_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        if (control == nullptr) {
            return LastError();
        }
        if (row.kind == ControlKind::Text) {
            SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
        }
    }
    return Result::Success();
}

std::string MainWindow::Caption(std::size_t index) const {
    if (kControls[index].id == kMarkerLabel && marker_) {
        return *marker_;
    }
    return DesignCaption(index, author_.donationAddress);
}

void MainWindow::LayOut() {
    Fonts fonts = MakeFonts();
    ScreenDc screen(GetDC(nullptr));
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlRow& row = kControls[i];
        HWND control = Control(row.id);
        const bool isLabel = row.kind == ControlKind::Label;
        HGDIOBJ font = row.kind == ControlKind::Text ? fonts.text.Get()
                       : !isLabel                    ? fonts.button.Get()
                       : row.id == kDonationLabel    ? fonts.donation.Get()
                                                     : fonts.label.Get();
        if (font == nullptr) {
            font = GetStockObject(DEFAULT_GUI_FONT);
        }
        int width = ScaleTwips(row.rect.width, dpi_);
        int height = ScaleTwips(row.rect.height, dpi_);
        if (isLabel) {
            // Labels fit their captions (a substituted font may need more room than the
            // design), but never run into the control that they name.
            SIZE text = MeasureText(screen.Get(), font, WindowText(control));
            int grown = std::max(width, static_cast<int>(text.cx));
            int room = LabelRoomTwips(i);
            if (room >= 0) {
                grown = std::min(grown, std::max(width, ScaleTwips(row.rect.left + room, dpi_) -
                                                            ScaleTwips(row.rect.left, dpi_)));
            }
            width = grown;
            height = std::max(height, static_cast<int>(text.cy));
        }
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (row.kind == ControlKind::Text) {
            // Not a pixel to spare in the narrowest boxes.
            SendMessageW(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
        }
        SetWindowPos(control, nullptr, ScaleTwips(row.rect.left, dpi_),
                     ScaleTwips(row.rect.top, dpi_), width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The controls hold the new fonts now; the old ones may go.
    fonts_ = std::move(fonts);
    picture_.Load(IDR_BACKGROUND, dpi_);
    FitClientArea();
}

void MainWindow::SetDesignSize() {
    RECT frame = {0, 0, ScaleTwips(kClientWidthTwips, dpi_), ScaleTwips(kClientHeightTwips, dpi_)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), TRUE,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::FitClientArea() {
    // A wrapped menu bar or a themed frame can take more room than AdjustWindowRectEx reckons.
    RECT client, frame;
    GetClientRect(hwnd_, &client);
    GetWindowRect(hwnd_, &frame);
    const int wantWidth = ScaleTwips(kClientWidthTwips, dpi_);
    const int wantHeight = ScaleTwips(kClientHeightTwips, dpi_);
    if (client.right != wantWidth || client.bottom != wantHeight) {
        SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left + wantWidth - client.right,
                     frame.bottom - frame.top + wantHeight - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

HWND MainWindow::FocusedPushButton() {
    HWND focused = GetFocus();
    const LRESULT code = focused != nullptr && IsChild(hwnd_, focused)
                             ? SendMessageW(focused, WM_GETDLGCODE, 0, 0)
                             : 0;
    return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0 ? focused : nullptr;
}

void MainWindow::SetLabelText(int id, const std::string& text) {
    HWND label = Control(id);
    if (label == nullptr) {
        return;  // not built: the caption is given when it is
    }
    SetWindowTextW(label, Wide(text).c_str());
    // A transparent label paints over its old text; the parent must repaint under it first.
    RECT area;
    GetWindowRect(label, &area);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(hwnd_, &area, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

int MainWindow::ShowBox(const std::string& text, UINT flags) {
    return MessageBoxW(hwnd_, Wide(text).c_str(), Wide(title_).c_str(), flags);
}

// ---- View

void MainWindow::ShowMessage(const std::string& text, Icon icon) {
    ShowBox(text, MB_OK | IconFlag(icon));
}

bool MainWindow::AskYesNo(const std::string& text, Icon icon) {
    return ShowBox(text, MB_YESNO | MB_DEFBUTTON1 | IconFlag(icon)) == IDYES;
}

std::string MainWindow::AskForText(const std::string& prompt) {
    std::string answer;
    const Result shown = RunInputBox(hwnd_, title_, prompt, answer);
    if (!shown.ok) {
        ShowMessage("The input box could not be shown: " + shown.reason, Icon::Error);
        return {};
    }
    return answer;
}

bool MainWindow::GetCheck(int n) {
    return SendMessageW(Control(CheckId(n)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::SetCheck(int n, bool checked) {
    SendMessageW(Control(CheckId(n)), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string MainWindow::GetText(int n) {
    return WindowText(Control(TextId(n)));
}

void MainWindow::SetText(int n, const std::string& text) {
    SetWindowTextW(Control(TextId(n)), Wide(text).c_str());
}

std::string MainWindow::ValueName(int n) {
    return RowLabel(TextId(n));
}

void MainWindow::SetTitle(const std::string& title) {
    SetWindowTextW(hwnd_, Wide(title).c_str());
}

void MainWindow::SetMarker(const std::string& caption) {
    marker_ = caption;
    SetLabelText(kMarkerLabel, caption);
}

// ---- About box, donation label, exit

void MainWindow::ShowAbout() {
    ShowMessage(AboutText(host_.VersionText, author_), Icon::None);
}

void MainWindow::CopyDonationAddress() {
    const Result put = PutClipboardText(hwnd_, author_.donationAddress);
    if (!put.ok) {
        ShowMessage("The BitCoin address could not be put on the clipboard: " + put.reason,
                    Icon::Error);
        return;
    }
    ShowMessage("BitCoin address now in clipboard! Ctrl+V to paste.", Icon::None);
}

void MainWindow::ExitProgram() {
    // Posted, not sent: closing waits until this command has returned.
    PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

}  // namespace velkin
