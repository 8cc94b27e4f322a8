#include "main_window.h"

#include <ole2.h>
#include <olectl.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <new>
#include <utility>

#include "input_box.h"
#include "launcher.h"
#include "layout.h"
#include "resource.h"
#include "system_error.h"
#include "win_text.h"

namespace velkin {

namespace {

constexpr COLORREF kLabelColour = RGB(255, 0, 0);
// Where the picture does not reach: close to its darkest corner.
constexpr COLORREF kFillColour = RGB(16, 18, 25);

// The build runs in timer ticks: MessageBox sends its owner no WM_ENTERIDLE (its box has
// DS_NOIDLEMSG), and a timer fires only when no input or paint waits.
constexpr UINT_PTR kBuildTimer = 1;
constexpr std::size_t kControlsPerStage = 4;

struct KindStyle {
    const char* className;
    DWORD style;
    DWORD exStyle;
};

// Indexed by ControlKind.
const KindStyle kKindStyles[] = {
    {"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0},
    {"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0},
    {"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0},
    {"EDIT", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
};

int ReleaseScreenDc(HDC dc) {
    return ReleaseDC(nullptr, dc);
}

using ScreenDc = Owner<HDC, &ReleaseScreenDc>;
using MemoryDc = Owner<HDC, &::DeleteDC>;

bool IsLabelId(int id) {
    return id >= LabelId(1) && id <= LabelId(31);
}

std::string ExceptionText(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
        return "Not enough memory to finish this operation.";
    }
    return std::string("This operation failed: ") + error.what();
}

int CALLBACK NoteFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FontFamilyExists(const char* face) {
    ScreenDc screen(GetDC(nullptr));
    LOGFONTA wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExA(screen.Get(), &wanted, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

HFONT MakeFont(const char* face, int points, int dpi, BYTE charset, BYTE pitchAndFamily,
               LONG weight = FW_BOLD) {
    LOGFONTA font = {};
    font.lfHeight = -MulDiv(points, dpi, 72);
    font.lfWeight = weight;
    font.lfCharSet = charset;
    font.lfPitchAndFamily = pitchAndFamily;
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

SIZE MeasureText(HDC dc, HGDIOBJ font, const std::string& text) {
    SIZE size = {0, 0};
    if (dc == nullptr) {
        return size;
    }
    HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (old != nullptr) {
        SelectObject(dc, old);
    }
    return size;
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        MainWindow* created = nullptr;
        try {
            created = new MainWindow(hwnd);
        } catch (const std::exception&) {
            return FALSE;
        }
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    MainWindow* window = MainWindow::From(hwnd);
    if (window == nullptr) {
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        delete window;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return window->HandleMessage(message, wParam, lParam);
}

}  // namespace

template <class Operation>
void MainWindow::Run(Operation&& operation) {
    try {
        operation();
    } catch (const std::exception& error) {
        ShowMessage(ExceptionText(error), Icon::Error);
    }
}

Result CreateMainWindow(HINSTANCE instance, HWND& window) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VELKIN));
    windowClass.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_VELKIN),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kMainWindowClass;
    if (RegisterClassExA(&windowClass) == 0) {
        const DWORD code = GetLastError();
        if (code != ERROR_CLASS_ALREADY_EXISTS) {
            return LastError(code);
        }
    }
    SetLastError(0);
    window = CreateWindowExA(0, kMainWindowClass, "Form1", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                             instance, nullptr);
    return window != nullptr ? Result::Success() : LastError();
}

MainWindow::MainWindow(HWND hwnd)
    : hwnd_(hwnd),
      author_(BuiltInAuthor()),
      title_(ApplicationTitle(author_)),
      files_(MakeNativeFileSystem()),
      machine_(MakeNativeStartupMachine(*this)) {}

MainWindow* MainWindow::From(HWND hwnd) {
    return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case kLoadMessage:
            return OnLoad();
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
        case WM_ACTIVATE:
            if (OnActivate(wParam)) {
                return 0;
            }
            break;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

// ---- Message handlers

void MainWindow::OnCreate() {
    ScreenDc screen(GetDC(nullptr));
    dpi_ = screen.Valid() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    if (dpi_ <= 0) {
        dpi_ = 96;
    }
    // The final size from the start, for boxes placed by their hidden owner.
    SizeClientArea(false);
}

LRESULT MainWindow::OnLoad() {
    if (!loaded_) {
        loaded_ = true;
        // Start-up asks its question first; the window is built while the boxes are open.
        SetTimer(hwnd_, kBuildTimer, USER_TIMER_MINIMUM, nullptr);
        Run([&] { RunStartup(host_, settings_.SettingsPath, *this, *machine_); });
        FinishBuild();
        if (!built_.ok) {
            ShowMessage("The main window could not be created: " + built_.reason, Icon::Error);
        }
    }
    return built_.ok ? 1 : 0;
}

void MainWindow::OnTimer(UINT_PTR id) {
    if (id != kBuildTimer) {
        return;
    }
    while (BuildNext()) {
        // Whatever else waits, the user's input and the boxes' painting above all, goes first.
        if (HIWORD(GetQueueStatus(QS_ALLINPUT & ~QS_TIMER)) != 0) {
            return;
        }
    }
    KillTimer(hwnd_, kBuildTimer);
}

void MainWindow::OnCommand(int id, int code) {
    switch (id) {
        case kCommand1:
            if (code == BN_CLICKED) {
                Run([&] { ReadSettings(settings_, *this, *files_); });
            }
            break;
        case IDOK:
            // Enter where DM_GETDEFID named no button: the focused push button, if any.
            if (HWND button = FocusedPushButton()) {
                OnCommand(GetDlgCtrlID(button), BN_CLICKED);
            }
            break;
        case kMenuSave:
            Run([&] { WriteSettings(settings_, *this, *files_); });
            break;
        case kMenuLaunch:
            Run([&] { LaunchGame(host_.GamePath, *this); });
            break;
        case kMenuAbout:
            ShowAbout();
            break;
        case kMenuExit:
            ExitProgram();
            break;
        case kDonationLabel:
            if (code == STN_CLICKED) {
                CopyDonationAddress();
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
        return DefWindowProcA(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
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
    if (backgroundDc_.Valid()) {
        BitBlt(dc, 0, 0, backgroundSize_.cx, backgroundSize_.cy, backgroundDc_.Get(), 0, 0,
               SRCCOPY);
    }
    auto fill = static_cast<HBRUSH>(fillBrush_.Get());
    RECT right = {backgroundSize_.cx, 0, client.right, client.bottom};
    RECT below = {0, backgroundSize_.cy, std::min(backgroundSize_.cx, client.right), client.bottom};
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
    DestroyWindow(hwnd_);
}

void MainWindow::OnDestroy() {
    PostQuitMessage(0);
}

// ---- Building the window

bool MainWindow::BuildNext() {
    try {
        switch (stage_) {
            case Stage::Fonts:
                CreateFonts();
                stage_ = Stage::Picture;
                break;
            case Stage::Picture:
                LoadBackground();
                stage_ = Stage::Menu;
                break;
            case Stage::Menu:
                built_ = CreateMenuBar();
                stage_ = Stage::Controls;
                break;
            case Stage::Controls:
                built_ = CreateControls(kControlsPerStage);
                if (nextControl_ == kControlCount) {
                    stage_ = Stage::Size;
                }
                break;
            case Stage::Size:
                SizeClientArea(true);
                focus_ = GetDlgItem(hwnd_, kCommand1);
                stage_ = Stage::Done;
                break;
            case Stage::Done:
                return false;
        }
    } catch (const std::exception& error) {
        built_ = Result::Failure(ExceptionText(error));
    }
    if (!built_.ok) {
        stage_ = Stage::Done;
    }
    return stage_ != Stage::Done;
}

void MainWindow::FinishBuild() {
    if (stage_ == Stage::Done) {
        return;
    }
    while (BuildNext()) {
    }
    KillTimer(hwnd_, kBuildTimer);
}

void MainWindow::CreateFonts() {
    // Where Verdana is missing (Wine), the stand-in the font mapper picks runs much wider;
    // Tahoma is the closest narrow face that is always there.
    const char* labelFace = FontFamilyExists("Verdana") ? "Verdana" : "Tahoma";
    labelFont_.Reset(MakeFont(labelFace, 9, dpi_, ANSI_CHARSET, DEFAULT_PITCH | FF_SWISS));
    // The classic dialog font: the design's narrow boxes were sized for it.
    controlFont_.Reset(
        MakeFont("Tahoma", 8, dpi_, DEFAULT_CHARSET, DEFAULT_PITCH | FF_SWISS, FW_NORMAL));
    donationFont_.Reset(MakeFont("Terminal", 6, dpi_, OEM_CHARSET, FIXED_PITCH | FF_MODERN));
    fillBrush_.Reset(CreateSolidBrush(kFillColour));
}

void MainWindow::LoadBackground() {
    // Without the picture the window still works, on the plain fill colour.
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(IDR_BACKGROUND), RT_RCDATA);
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    const DWORD size = resource != nullptr ? SizeofResource(module, resource) : 0;
    if (bytes == nullptr || size == 0) {
        return;
    }
    GlobalMemory copy(GlobalAlloc(GMEM_MOVEABLE, size));
    void* target = copy.Valid() ? GlobalLock(copy.Get()) : nullptr;
    if (target == nullptr) {
        return;
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(copy.Get());
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(copy.Get(), TRUE, stream.Out()))) {
        return;
    }
    copy.Release();  // the stream frees it
    ComPtr<IPicture> picture;
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (FAILED(OleLoadPicture(stream.Get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(picture.Out()))) ||
        FAILED(picture.Get()->get_Type(&type)) || type != PICTYPE_BITMAP ||
        FAILED(picture.Get()->get_Handle(&handle))) {
        return;
    }
    auto bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    BITMAP info;
    if (GetObjectA(bitmap, sizeof info, &info) == 0) {
        return;
    }
    // The picture was made for 96 DPI. Scaled once, here, it covers the client area at any
    // DPI, and painting stays a plain copy.
    const SIZE scaled = {MulDiv(info.bmWidth, dpi_, 96), MulDiv(info.bmHeight, dpi_, 96)};
    ScreenDc screen(GetDC(nullptr));
    MemoryDc source(CreateCompatibleDC(screen.Get()));
    GdiObject result(CreateCompatibleBitmap(screen.Get(), scaled.cx, scaled.cy));
    MemoryDc drawing(CreateCompatibleDC(screen.Get()));  // goes before `result` on failure
    if (!screen.Valid() || !source.Valid() || !result.Valid() || !drawing.Valid()) {
        return;
    }
    if (SelectObject(drawing.Get(), result.Get()) == nullptr) {
        return;
    }
    HGDIOBJ original = SelectObject(source.Get(), bitmap);
    if (original == nullptr) {
        return;
    }
    SetStretchBltMode(drawing.Get(), HALFTONE);
    SetBrushOrgEx(drawing.Get(), 0, 0, nullptr);
    const bool drawn = StretchBlt(drawing.Get(), 0, 0, scaled.cx, scaled.cy, source.Get(), 0, 0,
                                  info.bmWidth, info.bmHeight, SRCCOPY) != FALSE;
    SelectObject(source.Get(), original);  // the bitmap stays the picture's
    if (!drawn) {
        return;
    }
    background_ = std::move(result);
    backgroundDc_ = std::move(drawing);
    backgroundSize_ = scaled;
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
            ok = popup != nullptr &&
                 AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), row.caption);
        } else {
            HMENU parent = row.depth == 0 ? bar : popup;
            ok = parent != nullptr &&
                 AppendMenuA(parent, MF_STRING, static_cast<UINT_PTR>(row.id), row.caption);
        }
    }
    if (!ok || !SetMenu(hwnd_, bar)) {
        const Result failure = LastError();
        DestroyMenu(bar);
        return failure;
    }
    return Result::Success();
}

Result MainWindow::CreateControls(std::size_t count) {
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd_, GWLP_HINSTANCE));
    HGDIOBJ controlFont =
        controlFont_.Valid() ? controlFont_.Get() : GetStockObject(DEFAULT_GUI_FONT);
    ScreenDc screen(GetDC(nullptr));
    const std::size_t end = std::min(kControlCount, nextControl_ + count);
    for (; nextControl_ < end; ++nextControl_) {
        const ControlRow& row = kControls[nextControl_];
        const KindStyle& kind = kKindStyles[static_cast<int>(row.kind)];
        const bool isLabel = row.kind == ControlKind::Label;
        const std::string caption = DesignCaption(nextControl_, author_.donationAddress);
        HGDIOBJ font = !isLabel                   ? controlFont
                       : row.id == kDonationLabel ? donationFont_.Get()
                                                  : labelFont_.Get();
        DWORD style = WS_CHILD | WS_VISIBLE | kind.style;
        if (row.id == kDonationLabel) {
            style |= SS_NOTIFY;
        }
        int width = ScaleTwips(row.rect.width, dpi_);
        int height = ScaleTwips(row.rect.height, dpi_);
        if (isLabel) {
            // Labels fit their captions (a substituted font may need more room than the
            // design), but never run into the control that they name.
            SIZE text = MeasureText(screen.Get(), font, caption);
            int grown = std::max(width, static_cast<int>(text.cx));
            int room = LabelRoomTwips(nextControl_);
            if (room >= 0) {
                grown = std::min(grown, std::max(width, ScaleTwips(row.rect.left + room, dpi_) -
                                                            ScaleTwips(row.rect.left, dpi_)));
            }
            width = grown;
            height = std::max(height, static_cast<int>(text.cy));
        }
        SetLastError(0);
        HWND control = CreateWindowExA(
            kind.exStyle, kind.className, caption.c_str(), style, ScaleTwips(row.rect.left, dpi_),
            ScaleTwips(row.rect.top, dpi_), width, height, hwnd_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        if (control == nullptr) {
            return LastError();
        }
        if (font != nullptr) {
            SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        if (row.kind == ControlKind::Text) {
            SendMessageA(control, EM_SETLIMITTEXT, 0, 0);
            // The design's boxes are four digits wide; the default margins would hide one.
            SendMessageA(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 1));
        }
    }
    return Result::Success();
}

void MainWindow::SizeClientArea(bool measure) {
    const int width = ScaleTwips(kClientWidthTwips, dpi_);
    const int height = ScaleTwips(kClientHeightTwips, dpi_);
    RECT frame = {0, 0, width, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE)), TRUE,
                       static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE)));
    int outerWidth = frame.right - frame.left;
    int outerHeight = frame.bottom - frame.top;
    const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(hwnd_, nullptr, 0, 0, outerWidth, outerHeight, flags);
    if (!measure) {
        return;
    }
    // A wrapped menu bar or a themed frame can take more room than AdjustWindowRectEx reckons.
    RECT client;
    GetClientRect(hwnd_, &client);
    if (client.right != width || client.bottom != height) {
        outerWidth += width - client.right;
        outerHeight += height - client.bottom;
        SetWindowPos(hwnd_, nullptr, 0, 0, outerWidth, outerHeight, flags);
    }
}

HWND MainWindow::Item(int id) {
    FinishBuild();
    return GetDlgItem(hwnd_, id);
}

HWND MainWindow::FocusedPushButton() {
    HWND focused = GetFocus();
    const LRESULT code = focused != nullptr && IsChild(hwnd_, focused)
                             ? SendMessageA(focused, WM_GETDLGCODE, 0, 0)
                             : 0;
    return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0 ? focused : nullptr;
}

void MainWindow::SetLabelText(int id, const std::string& text) {
    HWND label = Item(id);
    SetWindowTextA(label, text.c_str());
    // A transparent label paints over its old text; the parent must repaint under it first.
    RECT area;
    GetWindowRect(label, &area);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(hwnd_, &area, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

int MainWindow::ShowBox(const std::string& text, UINT flags) {
    return MessageBoxA(hwnd_, text.c_str(), title_.c_str(), flags);
}

// ---- View

void MainWindow::ShowMessage(const std::string& text, Icon icon) {
    UINT flags = MB_OK;
    if (icon == Icon::Warning) {
        flags |= MB_ICONEXCLAMATION;
    } else if (icon == Icon::Error) {
        flags |= MB_ICONERROR;
    }
    ShowBox(text, flags);
}

bool MainWindow::AskYesNo(const std::string& text) {
    const bool yes = ShowBox(text, MB_YESNO | MB_DEFBUTTON1) == IDYES;
    FinishBuild();
    return yes;
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
    return SendMessageA(Item(CheckId(n)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::SetCheck(int n, bool checked) {
    SendMessageA(Item(CheckId(n)), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string MainWindow::GetText(int n) {
    return WindowText(Item(TextId(n)));
}

void MainWindow::SetText(int n, const std::string& text) {
    SetWindowTextA(Item(TextId(n)), text.c_str());
}

void MainWindow::SetTitle(const std::string& title) {
    SetWindowTextA(hwnd_, title.c_str());
}

void MainWindow::SetMarker(const std::string& caption) {
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
    // Posted, not sent: the window must outlive the handler that is running now.
    PostMessageA(hwnd_, WM_CLOSE, 0, 0);
}

}  // namespace velkin
