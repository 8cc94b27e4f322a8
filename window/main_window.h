// The main window Form1: the owner of every field, control and handler of the program.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "window/author.h"
#include "window/command_gate.h"
#include "win32/owner.h"
#include "window/picture.h"
#include "common/ports.h"
#include "settings/settings.h"
#include "host/startup.h"

namespace velkin {

class MainWindow final : public View {
  public:
    MainWindow();
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Registers the window class and creates the window hidden and bare, at its design size.
    Result Create(HINSTANCE instance);
    // Start-up, with the window built behind its question; then the window is shown unless a
    // close came meanwhile. Fails when the window could not be built.
    Result Start(int show);
    HWND Handle() const { return hwnd_; }

    // View
    void ShowMessage(const std::string& text, Icon icon) override;
    bool AskYesNo(const std::string& text, Icon icon) override;
    std::string AskForText(const std::string& prompt) override;
    bool GetCheck(int n) override;
    void SetCheck(int n, bool checked) override;
    std::string GetText(int n) override;
    void SetText(int n, const std::string& text) override;
    std::string ValueName(int n) override;
    void SetTitle(const std::string& title) override;
    void SetMarker(const std::string& caption) override;

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void OnTimer(UINT_PTR id);
    void OnDpiChanged(int dpi, const RECT* suggested);
    void OnCommand(int id, int code);
    LRESULT OnGetDefId();
    LRESULT OnCtlColorStatic(HDC dc, HWND control);
    bool OnEraseBkgnd(HDC dc);
    bool OnActivate(WPARAM wParam);
    void OnClose();
    BOOL OnQueryEndSession();
    void OnDestroy();
    void OnNcDestroy();

    // The controls' fonts, made anew for each DPI.
    struct Fonts {
        GdiObject label;
        GdiObject donation;
        GdiObject button;
        GdiObject text;
    };

    // Menu, controls and their layout, all at once, the first time it is called.
    void Build();
    Fonts MakeFonts() const;
    Result CreateMenuBar();
    Result CreateControls();
    std::string Caption(std::size_t index) const;
    // Fonts, places and sizes of every control, the picture and the client area, at dpi_: at
    // the build and whenever the window moves to a monitor of another DPI.
    void LayOut();
    void SetDesignSize();
    // Grows the frame until the client area has its design size.
    void FitClientArea();
    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
    HWND FocusedPushButton();
    void SetLabelText(int id, const std::string& text);
    int ShowBox(const std::string& text, UINT flags);
    void ShowAbout();
    void CopyDonationAddress();
    void ExitProgram();
    // Runs one command to its end: whatever it throws reaches the user as a box, and a close
    // that came while it ran is carried out after it.
    template <class Operation>
    void RunCommand(Operation&& operation);

    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    AuthorInfo author_;
    std::string title_;
    HWND focus_ = nullptr;  // the control that had the focus when the window was deactivated
    CommandGate gate_;

    bool built_ = false;
    Result buildResult_;

    SettingsState settings_;
    HostState host_;
    std::unique_ptr<FileSystem> files_;
    std::unique_ptr<StartupMachine> machine_;

    std::optional<std::string> marker_;  // Label28's caption once start-up has set it
    Fonts fonts_;
    GdiObject fillBrush_;
    BackgroundPicture picture_;
};

}  // namespace velkin
