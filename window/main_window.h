// The main window Form1: the owner of every field, control and handler of the program.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "about.h"
#include "launcher.h"
#include "settings.h"
#include "startup.h"

namespace velkin {

constexpr const char* kMainWindowClass = "VelkinMainWindow";

// Sent once by WinMain: the load step, before the window is first shown.
constexpr UINT kLoadMessage = WM_APP + 1;

// Registers the window class and creates the main window, hidden, at its design size.
// On failure returns null and sets `reason` to the system's text.
HWND CreateMainWindow(HINSTANCE instance, std::string& reason);

// Owns one GDI object (font, brush, bitmap).
class GdiObject {
  public:
    GdiObject() = default;
    explicit GdiObject(HGDIOBJ object) : object_(object) {}
    ~GdiObject() { Reset(nullptr); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    HGDIOBJ Get() const { return object_; }
    void Reset(HGDIOBJ object) {
        if (object_ != nullptr) {
            DeleteObject(object_);
        }
        object_ = object;
    }

  private:
    HGDIOBJ object_ = nullptr;
};

class MainWindow final : public SettingsView,
                         public StartupUi,
                         public LaunchUi,
                         public General::FormatReport {
  public:
    explicit MainWindow(HWND hwnd);
    ~MainWindow() override = default;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // The window object of a main window, or null.
    static MainWindow* From(HWND hwnd);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // SettingsView
    std::string AskForText(const std::string& prompt) override;
    void ShowMessage(const std::string& text, Icon icon) override;
    bool GetCheck(int n) override;
    void SetCheck(int n, bool checked) override;
    std::string GetText(int n) override;
    void SetText(int n, const std::string& text) override;
    std::string GetMarker() override;

    // StartupUi and General::FormatReport
    bool AskYesNo(const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    void SetTitle(const std::string& title) override;
    void SetMarker(const std::string& caption) override;

    // LaunchUi
    void ShowError(const std::string& text) override;

    // The three small operations of the window.
    void ShowAbout();
    void CopyDonationAddress();
    void ExitProgram();

  private:
    bool OnCreate();
    void OnLoad();
    void OnCommand(int id, int code);
    LRESULT OnCtlColorStatic(HDC dc, HWND control);
    bool OnEraseBkgnd(HDC dc);
    bool OnActivate(WPARAM wParam);
    void OnClose();
    void OnDestroy();

    void CreateFonts();
    void LoadBackground();
    bool CreateMenuBar();
    bool CreateControls();
    void SizeClientArea();
    SIZE MeasureText(HGDIOBJ font, const std::string& text);
    void SetLabelText(int id, const std::string& text);
    int ShowBox(const std::string& text, UINT flags);
    // Runs one event's operation; whatever it throws reaches the user as a message box.
    template <class Operation>
    void Run(Operation&& operation);

    HWND hwnd_;
    int dpi_ = 96;
    AuthorInfo author_;
    std::string title_;
    bool loaded_ = false;
    HWND focus_ = nullptr;  // the control that had the focus when the window was deactivated

    SettingsState settings_;
    HostState host_;
    std::unique_ptr<FileSystem> files_;
    std::unique_ptr<StartupMachine> machine_;
    std::unique_ptr<ProgramStarter> starter_;

    GdiObject labelFont_;
    GdiObject donationFont_;
    GdiObject controlFont_;
    GdiObject fillBrush_;
    GdiObject background_;  // the picture, unscaled; null when it could not be loaded
    SIZE backgroundSize_ = {0, 0};
};

}  // namespace velkin
