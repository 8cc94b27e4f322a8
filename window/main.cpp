// The program's start: the main window, its load step, then the message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "about.h"
#include "layout.h"
#include "main_window.h"

namespace {

// COM for the picture loader, for the life of the program.
class ComScope {
  public:
    ComScope() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (ok_) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    bool ok_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    ComScope com;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    HWND window = nullptr;
    const velkin::Result created = velkin::CreateMainWindow(instance, window);
    if (!created.ok) {
        const std::string title = velkin::ApplicationTitle(velkin::BuiltInAuthor());
        MessageBoxA(nullptr, ("The main window could not be created: " + created.reason).c_str(),
                    title.c_str(), MB_OK | MB_ICONERROR);
        return 1;
    }
    // Start-up asks its question at once and the window is built meanwhile; it is shown
    // only when complete.
    if (SendMessageA(window, velkin::kLoadMessage, 0, 0) == 0) {
        DestroyWindow(window);
        return 1;
    }
    ShowWindow(window, show);
    UpdateWindow(window);
    SetFocus(GetDlgItem(window, velkin::kCommand1));

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // Tab and Shift+Tab walk the controls as in a dialog, and Enter presses the focused
        // button (DM_GETDEFID).
        if (!IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
