// The main window Form1: the owner of every field, control and handler of the program.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>

#include "about.h"
#include "owner.h"
#include "platform.h"
#include "settings.h"
#include "startup.h"

namespace velkin {

constexpr const char* kMainWindowClass = "VelkinMainWindow";

// Sent once by WinMain: start-up, before the window is first shown. Returns nonzero when the
// window is complete; zero when it could not be built, after a box has said why.
constexpr UINT kLoadMessage = WM_APP + 1;

// Registers the window class and creates the main window hidden and bare, at its design size:
// its menu, picture and controls come during the load message.
Result CreateMainWindow(HINSTANCE instance, HWND& window);

class MainWindow final : public View {
  public:
    explicit MainWindow(HWND hwnd);
    ~MainWindow() override = default;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // The window object of a main window, or null.
    static MainWindow* From(HWND hwnd);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // View
    void ShowMessage(const std::string& text, Icon icon) override;
    bool AskYesNo(const std::string& text) override;
    std::string AskForText(const std::string& prompt) override;
    bool GetCheck(int n) override;
    void SetCheck(int n, bool checked) override;
    std::string GetText(int n) override;
    void SetText(int n, const std::string& text) override;
    void SetTitle(const std::string& title) override;
    void SetMarker(const std::string& caption) override;

  private:
    // The window is built in short stages, in this order, while start-up's boxes wait for
    // the user; whatever is left when the question is answered is built at once.
    enum class Stage { Fonts, Picture, Menu, Controls, Size, Done };

    void OnCreate();
    LRESULT OnLoad();
    void OnTimer(UINT_PTR id);
    void OnCommand(int id, int code);
    LRESULT OnGetDefId();
    LRESULT OnCtlColorStatic(HDC dc, HWND control);
    bool OnEraseBkgnd(HDC dc);
    bool OnActivate(WPARAM wParam);
    void OnClose();
    void OnDestroy();

    bool BuildNext();
    void FinishBuild();
    void CreateFonts();
    void LoadBackground();
    Result CreateMenuBar();
    Result CreateControls(std::size_t count);
    void SizeClientArea(bool measure);
    // A control of the finished window.
    HWND Item(int id);
    HWND FocusedPushButton();
    void SetLabelText(int id, const std::string& text);
    int ShowBox(const std::string& text, UINT flags);
    void ShowAbout();
    void CopyDonationAddress();
    void ExitProgram();
    // Runs one event's operation; whatever it throws reaches the user as a message box.
    template <class Operation>
    void Run(Operation&& operation);

    HWND hwnd_;
    int dpi_ = 96;
    AuthorInfo author_;
    std::string title_;
    bool loaded_ = false;
    HWND focus_ = nullptr;  // the control that had the focus when the window was deactivated

    Stage stage_ = Stage::Fonts;
    std::size_t nextControl_ = 0;
    Result built_;  // a failure stops the build

    SettingsState settings_;
    HostState host_;
    std::unique_ptr<FileSystem> files_;
    std::unique_ptr<StartupMachine> machine_;

    GdiObject labelFont_;
    GdiObject donationFont_;
    GdiObject controlFont_;
    GdiObject fillBrush_;
    // The picture scaled to the display, selected into its own DC for painting; declared after
    // the bitmap so that the DC goes first.
    GdiObject background_;
    Owner<HDC, &::DeleteDC> backgroundDc_;
    SIZE backgroundSize_ = {0, 0};
};

}  // namespace velkin
