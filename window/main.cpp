// The program's start: the main window, its start-up, then the message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "window/author.h"
#include "win32/text.h"
#include "window/main_window.h"

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

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
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
        const std::string text = "The main window could not be created: " + started.reason;
        MessageBoxW(nullptr, velkin::Wide(text).c_str(),
                    velkin::Wide(velkin::ApplicationTitle()).c_str(), MB_OK | MB_ICONERROR);
        return 1;
    }

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab and Shift+Tab walk the controls as in a dialog, and Enter presses the focused
        // button (DM_GETDEFID).
        if (!IsDialogMessageW(window.Handle(), &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
