#include "main_window.h"

#include <ole2.h>
#include <olectl.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <new>

#include "input_box.h"
#include "layout.h"
#include "resource.h"
#include "win_text.h"
#include "system_reason.h"

namespace velkin {

namespace {

constexpr COLORREF kLabelColour = RGB(255, 0, 0);
// Where the picture does not reach: close to its darkest corner.
constexpr COLORREF kFillColour = RGB(16, 18, 25);

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

bool IsLabelId(int id) {
    return id >= LabelId(1) && id <= LabelId(31);
}

template <class T>
class ComOwner {
  public:
    ComOwner() = default;
    ~ComOwner() {
        if (object_ != nullptr) {
            object_->Release();
        }
    }
    ComOwner(const ComOwner&) = delete;
    ComOwner& operator=(const ComOwner&) = delete;
    T* Get() const { return object_; }
    T** Out() { return &object_; }
    T* operator->() const { return object_; }

  private:
    T* object_ = nullptr;
};

int CALLBACK NoteFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FontFamilyExists(const char* face) {
    HDC screen = GetDC(nullptr);
    LOGFONTA wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExA(screen, &wanted, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
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
    } catch (const std::bad_alloc&) {
        ShowBox("Not enough memory to finish this operation.", MB_OK | MB_ICONERROR);
    } catch (const std::exception& error) {
        ShowBox(std::string("This operation failed: ") + error.what(), MB_OK | MB_ICONERROR);
    }
}

HWND CreateMainWindow(HINSTANCE instance, std::string& reason) {
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
    if (RegisterClassExA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        reason = SystemErrorText(GetLastError());
        return nullptr;
    }
    SetLastError(0);
    HWND hwnd = CreateWindowExA(0, kMainWindowClass, "Form1", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                instance, nullptr);
    if (hwnd == nullptr) {
        DWORD code = GetLastError();
        reason = code != 0 ? SystemErrorText(code) : "The window's controls could not be created.";
    }
    return hwnd;
}

MainWindow::MainWindow(HWND hwnd)
    : hwnd_(hwnd), author_(BuiltInAuthor()), title_(ApplicationTitle(author_)) {}

MainWindow* MainWindow::From(HWND hwnd) {
    return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate() ? 0 : -1;
        case kLoadMessage:
            OnLoad();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
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

bool MainWindow::OnCreate() {
    files_ = MakeNativeFileSystem();
    machine_ = MakeNativeStartupMachine(*this);
    starter_ = MakeNativeProgramStarter();
    if (!files_ || !machine_ || !starter_) {
        return false;
    }
    HDC dc = GetDC(hwnd_);
    if (dc != nullptr) {
        dpi_ = GetDeviceCaps(dc, LOGPIXELSY);
        ReleaseDC(hwnd_, dc);
    }
    if (dpi_ <= 0) {
        dpi_ = 96;
    }
    CreateFonts();
    fillBrush_.Reset(CreateSolidBrush(kFillColour));
    LoadBackground();
    if (!CreateMenuBar() || !CreateControls()) {
        return false;
    }
    SizeClientArea();
    focus_ = GetDlgItem(hwnd_, kCommand1);
    return true;
}

void MainWindow::OnLoad() {
    if (loaded_) {
        return;
    }
    loaded_ = true;
    Run([&] { RunStartup(host_, settings_.SettingsPath, *this, *machine_); });
}

void MainWindow::OnCommand(int id, int code) {
    switch (id) {
        case kCommand1:
            if (code == BN_CLICKED) {
                Run([&] { ReadSettings(settings_, *this, *files_); });
            }
            break;
        case kMenuSave:
            Run([&] { WriteSettings(settings_, *this, *files_); });
            break;
        case kMenuLaunch:
            Run([&] { LaunchGame(host_.GamePath, *starter_, *this); });
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
    auto fill = static_cast<HBRUSH>(fillBrush_.Get());
    if (background_.Get() == nullptr) {
        FillRect(dc, &client, fill);
        return true;
    }
    HDC memory = CreateCompatibleDC(dc);
    if (memory != nullptr) {
        HGDIOBJ old = SelectObject(memory, background_.Get());
        BitBlt(dc, 0, 0, backgroundSize_.cx, backgroundSize_.cy, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    RECT right = {backgroundSize_.cx, 0, client.right, client.bottom};
    RECT below = {0, backgroundSize_.cy, std::min(backgroundSize_.cx, client.right), client.bottom};
    if (right.left < right.right) {
        FillRect(dc, &right, fill);
    }
    if (below.top < below.bottom) {
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

void MainWindow::CreateFonts() {
    // Where Verdana is missing (Wine), the stand-in the font mapper picks runs much wider;
    // Tahoma is the closest narrow face that is always there.
    const char* labelFace = FontFamilyExists("Verdana") ? "Verdana" : "Tahoma";
    labelFont_.Reset(MakeFont(labelFace, 9, dpi_, ANSI_CHARSET, DEFAULT_PITCH | FF_SWISS));
    // The classic dialog font: the design's narrow boxes were sized for it.
    controlFont_.Reset(
        MakeFont("Tahoma", 8, dpi_, DEFAULT_CHARSET, DEFAULT_PITCH | FF_SWISS, FW_NORMAL));
    donationFont_.Reset(MakeFont("Terminal", 6, dpi_, OEM_CHARSET, FIXED_PITCH | FF_MODERN));
}

void MainWindow::LoadBackground() {
    // Without the picture the window still works, on the plain fill colour.
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(IDR_BACKGROUND), RT_RCDATA);
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    DWORD size = resource != nullptr ? SizeofResource(module, resource) : 0;
    if (bytes == nullptr || size == 0) {
        return;
    }
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (copy == nullptr) {
        return;
    }
    void* target = GlobalLock(copy);
    if (target == nullptr) {
        GlobalFree(copy);
        return;
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(copy);
    ComOwner<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(copy, TRUE, stream.Out()))) {
        GlobalFree(copy);
        return;
    }
    ComOwner<IPicture> picture;
    if (FAILED(OleLoadPicture(stream.Get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(picture.Out())))) {
        return;
    }
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP ||
        FAILED(picture->get_Handle(&handle))) {
        return;
    }
    auto bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    BITMAP info;
    if (GetObjectA(bitmap, sizeof info, &info) == 0) {
        return;
    }
    // A copy of our own, so that the picture object can go now.
    background_.Reset(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
    backgroundSize_ = {info.bmWidth, info.bmHeight};
}

bool MainWindow::CreateMenuBar() {
    HMENU bar = CreateMenu();
    if (bar == nullptr) {
        return false;
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
        DestroyMenu(bar);
        return false;
    }
    return true;
}

bool MainWindow::CreateControls() {
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd_, GWLP_HINSTANCE));
    HGDIOBJ controlFont =
        controlFont_.Get() != nullptr ? controlFont_.Get() : GetStockObject(DEFAULT_GUI_FONT);
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlRow& row = kControls[i];
        const KindStyle& kind = kKindStyles[static_cast<int>(row.kind)];
        const bool isLabel = row.kind == ControlKind::Label;
        const std::string caption = DesignCaption(i, author_.donationAddress);
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
            SIZE text = MeasureText(font, caption);
            int grown = std::max(width, static_cast<int>(text.cx));
            int room = LabelRoomTwips(i);
            if (room >= 0) {
                grown = std::min(grown, std::max(width, ScaleTwips(row.rect.left + room, dpi_) -
                                                            ScaleTwips(row.rect.left, dpi_)));
            }
            width = grown;
            height = std::max(height, static_cast<int>(text.cy));
        }
        HWND control = CreateWindowExA(
            kind.exStyle, kind.className, caption.c_str(), style, ScaleTwips(row.rect.left, dpi_),
            ScaleTwips(row.rect.top, dpi_), width, height, hwnd_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        if (control == nullptr) {
            return false;
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
    return true;
}

void MainWindow::SizeClientArea() {
    const int width = ScaleTwips(kClientWidthTwips, dpi_);
    const int height = ScaleTwips(kClientHeightTwips, dpi_);
    RECT frame = {0, 0, width, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE)), TRUE,
                       static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE)));
    int outerWidth = frame.right - frame.left;
    int outerHeight = frame.bottom - frame.top;
    const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(hwnd_, nullptr, 0, 0, outerWidth, outerHeight, flags);
    // A wrapped menu bar or a themed frame can take more room than AdjustWindowRectEx reckons.
    RECT client;
    GetClientRect(hwnd_, &client);
    if (client.right != width || client.bottom != height) {
        outerWidth += width - client.right;
        outerHeight += height - client.bottom;
        SetWindowPos(hwnd_, nullptr, 0, 0, outerWidth, outerHeight, flags);
    }
}

SIZE MainWindow::MeasureText(HGDIOBJ font, const std::string& text) {
    SIZE size = {0, 0};
    HDC dc = GetDC(hwnd_);
    if (dc == nullptr) {
        return size;
    }
    HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (old != nullptr) {
        SelectObject(dc, old);
    }
    ReleaseDC(hwnd_, dc);
    return size;
}

void MainWindow::SetLabelText(int id, const std::string& text) {
    HWND label = GetDlgItem(hwnd_, id);
    SetWindowTextA(label, text.c_str());
    // A transparent label paints over its old text; the parent must repaint under it first.
    RECT area;
    GetWindowRect(label, &area);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(hwnd_, &area, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// ---- Boxes

int MainWindow::ShowBox(const std::string& text, UINT flags) {
    return MessageBoxA(hwnd_, text.c_str(), title_.c_str(), flags);
}

// ---- SettingsView

std::string MainWindow::AskForText(const std::string& prompt) {
    std::string answer;
    std::string reason;
    if (!RunInputBox(hwnd_, title_, prompt, answer, reason)) {
        ShowBox("The input box could not be shown: " + reason, MB_OK | MB_ICONERROR);
        return {};
    }
    return answer;
}

void MainWindow::ShowMessage(const std::string& text, Icon icon) {
    UINT flags = MB_OK;
    if (icon == Icon::Warning) {
        flags |= MB_ICONEXCLAMATION;
    } else if (icon == Icon::Error) {
        flags |= MB_ICONERROR;
    }
    ShowBox(text, flags);
}

bool MainWindow::GetCheck(int n) {
    return SendDlgItemMessageA(hwnd_, CheckId(n), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::SetCheck(int n, bool checked) {
    SendDlgItemMessageA(hwnd_, CheckId(n), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string MainWindow::GetText(int n) {
    return WindowText(GetDlgItem(hwnd_, TextId(n)));
}

void MainWindow::SetText(int n, const std::string& text) {
    SetWindowTextA(GetDlgItem(hwnd_, TextId(n)), text.c_str());
}

std::string MainWindow::GetMarker() {
    return WindowText(GetDlgItem(hwnd_, kMarkerLabel));
}

// ---- StartupUi, General::FormatReport, LaunchUi

bool MainWindow::AskYesNo(const std::string& text) {
    return ShowBox(text, MB_YESNO | MB_DEFBUTTON1) == IDYES;
}

void MainWindow::ShowMessage(const std::string& text) {
    ShowBox(text, MB_OK);
}

void MainWindow::SetTitle(const std::string& title) {
    SetWindowTextA(hwnd_, title.c_str());
}

void MainWindow::SetMarker(const std::string& caption) {
    SetLabelText(kMarkerLabel, caption);
}

void MainWindow::ShowError(const std::string& text) {
    ShowBox(text, MB_OK | MB_ICONERROR);
}

// ---- About box, donation label, exit

void MainWindow::ShowAbout() {
    ShowBox(AboutText(host_.VersionText, author_), MB_OK);
}

void MainWindow::CopyDonationAddress() {
    std::string reason;
    if (!PutClipboardText(hwnd_, author_.donationAddress, reason)) {
        ShowBox("The BitCoin address could not be put on the clipboard: " + reason,
                MB_OK | MB_ICONERROR);
        return;
    }
    ShowBox("BitCoin address now in clipboard! Ctrl+V to paste.", MB_OK);
}

void MainWindow::ExitProgram() {
    // Posted, not sent: the window must outlive the handler that is running now.
    PostMessageA(hwnd_, WM_CLOSE, 0, 0);
}

}  // namespace velkin
