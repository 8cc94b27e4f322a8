// The program's start: the main window, its start-up, then the message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "about.h"
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

    // Lives until the message loop has ended, after every message that reaches the window.
    velkin::MainWindow window;
    velkin::Result started = window.Create(instance);
    if (started.ok) {
        started = window.Start(show);
    }
    if (!started.ok) {
        MessageBoxA(nullptr, ("The main window could not be created: " + started.reason).c_str(),
                    velkin::ApplicationTitle().c_str(), MB_OK | MB_ICONERROR);
        return 1;
    }

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // Tab and Shift+Tab walk the controls as in a dialog, and Enter presses the focused
        // button (DM_GETDEFID).
        if (!IsDialogMessageA(window.Handle(), &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
