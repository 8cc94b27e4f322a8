#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "about.h"
#include "layout.h"
#include "main_window.h"
#include "win_text.h"

namespace velkin {
namespace {

// ---- About box and titles

struct AboutCase {
    const char* name;
    AuthorInfo info;
    const char* expected;
};

TEST(AboutText, JoinsTheSevenLinesWithCrLfAndNoTrailingLineEnd) {
    const AboutCase cases[] = {
        {"full",
         {"Jo Doe", "mail: jo@example.org", "social: @jo", "ADDR123", "blog: jo.example.org"},
         "Velkin v0.2.1 by Jo Doe\r\n"
         "CORVANE Advanced Config Tool v0.2.1\r\n"
         "Beta Release, Writes Enabled!\r\n"
         "mail: jo@example.org\r\n"
         "social: @jo\r\n"
         "BitCoin: ADDR123\r\n"
         "blog: jo.example.org"},
        {"empty contact lines keep their places",
         {"X", "", "", "", ""},
         "Velkin v0.2.1 by X\r\n"
         "CORVANE Advanced Config Tool v0.2.1\r\n"
         "Beta Release, Writes Enabled!\r\n"
         "\r\n"
         "\r\n"
         "BitCoin: \r\n"},
    };
    for (const AboutCase& c : cases) {
        EXPECT_EQ(AboutText("v0.2.1", c.info), c.expected) << c.name;
    }
}

TEST(AboutText, BuiltInTextHasSevenLines) {
    std::string text = AboutText("v0.2.1", BuiltInAuthor());
    std::size_t breaks = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2)) {
        ++breaks;
    }
    EXPECT_EQ(breaks, 6u) << "expected 6 line breaks (seven lines), got " << breaks;
    EXPECT_NE(text.substr(text.size() - 2), "\r\n") << "the text must not end with a line break";
}

TEST(Titles, AppTitleAndDonationCaption) {
    AuthorInfo info{"Jo Doe", "", "", "ADDR", ""};
    EXPECT_EQ(ApplicationTitle(info), "Velkin by Jo Doe");
    EXPECT_EQ(DonationCaption("ADDR"), "BitCoin ADDR");
}

// ---- The design tables

std::size_t IndexOf(int id) {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (kControls[i].id == id) {
            return i;
        }
    }
    ADD_FAILURE() << "no control with id " << id;
    return 0;
}

std::vector<int> RequiredFocusOrder() {
    std::vector<int> ids = {100};
    for (int n = 1; n <= 14; ++n) {
        ids.push_back(200 + n);
    }
    for (int n = 13; n >= 1; --n) {
        ids.push_back(100 + n);
    }
    return ids;
}

TEST(Layout, FocusOrderFollowsTheTable) {
    std::vector<int> got;
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (TakesFocus(kControls[i].kind)) {
            got.push_back(kControls[i].id);
        }
    }
    EXPECT_EQ(got, RequiredFocusOrder());
}

TEST(Layout, EveryLabelOnceAndNoOtherIds) {
    std::set<int> labels;
    std::set<int> all;
    for (std::size_t i = 0; i < kControlCount; ++i) {
        EXPECT_TRUE(all.insert(kControls[i].id).second) << "duplicate id " << kControls[i].id;
        if (kControls[i].kind == ControlKind::Label) {
            labels.insert(kControls[i].id);
        }
    }
    // Label16 and Label26 do not exist in the design.
    std::set<int> expected;
    for (int n = 1; n <= 31; ++n) {
        if (n != 16 && n != 26) {
            expected.insert(300 + n);
        }
    }
    EXPECT_EQ(labels, expected);
    EXPECT_EQ(kControlCount, 57u) << "expected 1 button, 29 labels, 13 check boxes, 14 text boxes";
}

TEST(Layout, EachControlComesRightAfterTheLabelOfItsRow) {
    struct Pair {
        int control;
        int label;
    };
    const Pair pairs[] = {
        {201, 314}, {202, 314}, {203, 317}, {204, 318}, {205, 319}, {206, 321}, {207, 320},
        {208, 322}, {209, 324}, {210, 323}, {211, 325}, {212, 329}, {213, 330}, {214, 331},
        {101, 301}, {102, 302}, {103, 303}, {104, 304}, {105, 305}, {106, 306}, {107, 307},
        {108, 308}, {109, 309}, {110, 310}, {111, 311}, {112, 312}, {113, 313},
    };
    for (const Pair& pair : pairs) {
        std::size_t i = IndexOf(pair.control);
        std::size_t j = i;
        while (j > 0 && kControls[j].kind != ControlKind::Label) {
            --j;
        }
        EXPECT_EQ(kControls[j].id, pair.label) << "label before control " << pair.control;
        EXPECT_EQ(kControls[j].rect.top, kControls[i].rect.top)
            << "control " << pair.control << " and its label share a row";
    }
}

TEST(Layout, DesignCaptions) {
    struct Case {
        int id;
        const char* caption;
    };
    const Case cases[] = {
        {100, "Environment.cfg"},
        {327, "Environment.cfg"},
        {328, "NOT Set."},
        {315, "BitCoin ADDR"},
        {113, "Movie Grain.............."},  // check boxes carry their label's text
        {101, "Sound........................"},
        {109, "Force Spectator........"},
        {201, ""},
        {214, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DesignCaption(IndexOf(c.id), "ADDR"), c.caption) << "control " << c.id;
    }
}

TEST(Layout, LabelsGrowOnlyUpToTheControlTheyName) {
    EXPECT_EQ(LabelRoomTwips(IndexOf(301)), 2580 - 540);   // up to Check1
    EXPECT_EQ(LabelRoomTwips(IndexOf(327)), 3900 - 2220);  // up to Label28
    EXPECT_EQ(LabelRoomTwips(IndexOf(323)), 1980 - 540);   // up to Text10
    EXPECT_EQ(LabelRoomTwips(IndexOf(328)), -1);           // last on its row
    EXPECT_EQ(LabelRoomTwips(IndexOf(315)), -1);
}

TEST(Layout, ScaleTwipsRoundsToTheNearestPixel) {
    struct Case {
        int twips, dpi, pixels;
    };
    const Case cases[] = {
        {6135, 96, 409},  {4950, 96, 330},  {175, 96, 12},  {15, 96, 1},
        {6135, 120, 511}, {4950, 144, 495}, {285, 120, 24}, {0, 96, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScaleTwips(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
    }
}

// ---- The real window, built from the tables

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string reason;
        hwnd_ = CreateMainWindow(GetModuleHandleA(nullptr), reason);
        ASSERT_NE(hwnd_, nullptr) << "window not created: " << reason;
        window_ = MainWindow::From(hwnd_);
        ASSERT_NE(window_, nullptr);
        HDC dc = GetDC(hwnd_);
        dpi_ = GetDeviceCaps(dc, LOGPIXELSY);
        ReleaseDC(hwnd_, dc);
    }
    void TearDown() override {
        if (hwnd_ != nullptr && IsWindow(hwnd_)) {
            DestroyWindow(hwnd_);
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    HWND Item(int id) { return GetDlgItem(hwnd_, id); }
    RECT ClientRectOf(int id) {
        RECT r;
        GetWindowRect(Item(id), &r);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    HWND hwnd_ = nullptr;
    MainWindow* window_ = nullptr;
    int dpi_ = 96;
};

TEST_F(WindowTest, StartsHiddenWithTheDesignContents) {
    EXPECT_FALSE(IsWindowVisible(hwnd_));
    EXPECT_EQ(WindowText(hwnd_), "Form1");
    char className[64] = {};
    GetClassNameA(hwnd_, className, sizeof className);
    EXPECT_STREQ(className, "VelkinMainWindow");
    for (int n = 1; n <= 13; ++n) {
        EXPECT_FALSE(window_->GetCheck(n)) << "Check" << n << " starts unchecked";
    }
    for (int n = 1; n <= 14; ++n) {
        EXPECT_EQ(window_->GetText(n), "") << "Text" << n << " starts empty";
    }
    EXPECT_EQ(window_->GetMarker(), "NOT Set.");
    EXPECT_EQ(WindowText(Item(315)), "BitCoin " + BuiltInAuthor().donationAddress);
}

TEST_F(WindowTest, ClientAreaHasTheDesignSize) {
    RECT client;
    GetClientRect(hwnd_, &client);
    EXPECT_EQ(client.right, MulDiv(6135, dpi_, 1440));
    EXPECT_EQ(client.bottom, MulDiv(4950, dpi_, 1440));
    if (dpi_ == 96) {
        EXPECT_EQ(client.right, 409);
        EXPECT_EQ(client.bottom, 330);
    }
}

TEST_F(WindowTest, ControlsStandWhereTheDesignPutsThemAt96Dpi) {
    if (dpi_ != 96) {
        GTEST_SKIP() << "pixel figures are for 96 dpi, the display has " << dpi_;
    }
    struct Case {
        int id, left, top, width, height;
    };
    // Twips divided by 15, worked out by hand.
    const Case cases[] = {
        {100, 36, 8, 89, 25},     // Command1
        {209, 308, 288, 65, 19},  // Text9
        {211, 172, 256, 25, 19},  // Text11
        {109, 172, 240, 12, 13},  // Check9
        {101, 172, 48, 12, 13},   // Check1
    };
    for (const Case& c : cases) {
        RECT r = ClientRectOf(c.id);
        EXPECT_EQ(r.left, c.left) << "control " << c.id;
        EXPECT_EQ(r.top, c.top) << "control " << c.id;
        EXPECT_EQ(r.right - r.left, c.width) << "control " << c.id;
        EXPECT_EQ(r.bottom - r.top, c.height) << "control " << c.id;
    }
    RECT marker = ClientRectOf(328);
    EXPECT_EQ(marker.left, 260);
    EXPECT_EQ(marker.top, 16);
    RECT donation = ClientRectOf(315);
    EXPECT_EQ(donation.left, 8);
    EXPECT_EQ(donation.top, 312);
}

TEST_F(WindowTest, TabWalksTheRequiredOrderAndWraps) {
    std::vector<int> required = RequiredFocusOrder();
    std::vector<int> forward;
    HWND at = Item(100);
    for (std::size_t i = 0; i < required.size(); ++i) {
        forward.push_back(GetDlgCtrlID(at));
        at = GetNextDlgTabItem(hwnd_, at, FALSE);
    }
    EXPECT_EQ(forward, required);
    EXPECT_EQ(GetDlgCtrlID(at), 100) << "Tab after Check1 returns to Command1";
    EXPECT_EQ(GetDlgCtrlID(GetNextDlgTabItem(hwnd_, Item(100), TRUE)), 101)
        << "Shift+Tab from Command1 goes to Check1";
}

TEST_F(WindowTest, OnlyTheDonationLabelTakesClicks) {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (kControls[i].kind != ControlKind::Label) {
            continue;
        }
        HWND label = Item(kControls[i].id);
        char className[16] = {};
        GetClassNameA(label, className, sizeof className);
        EXPECT_STREQ(className, "Static") << "label " << kControls[i].id;
        LONG_PTR style = GetWindowLongPtrA(label, GWL_STYLE);
        EXPECT_EQ((style & SS_NOTIFY) != 0, kControls[i].id == 315) << "label " << kControls[i].id;
        EXPECT_EQ(style & WS_TABSTOP, 0) << "label " << kControls[i].id;
    }
}

TEST_F(WindowTest, LabelFonts) {
    struct Case {
        int id;
        const char* face;
        int points;
        int charset;
    };
    const Case cases[] = {
        {301, "Verdana", 9, 0}, {328, "Verdana", 9, 0}, {315, "Terminal", 6, 255}};
    for (const Case& c : cases) {
        auto font = reinterpret_cast<HFONT>(SendMessageA(Item(c.id), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr) << "label " << c.id << " has a font";
        LOGFONTA lf = {};
        ASSERT_NE(GetObjectA(font, sizeof lf, &lf), 0);
        EXPECT_STREQ(lf.lfFaceName, c.face) << "label " << c.id;
        EXPECT_EQ(lf.lfWeight, 700) << "label " << c.id;
        EXPECT_EQ(lf.lfCharSet, c.charset) << "label " << c.id;
        EXPECT_EQ(lf.lfHeight, -MulDiv(c.points, dpi_, 72)) << "label " << c.id;
    }
}

TEST_F(WindowTest, LabelsAreRedOnTransparentOthersKeepTheirDefaults) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    LRESULT brush = SendMessageA(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(Item(314)));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), GetStockObject(HOLLOW_BRUSH));
    EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    brush = SendMessageA(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(Item(105)));
    EXPECT_NE(reinterpret_cast<HGDIOBJ>(brush), GetStockObject(HOLLOW_BRUSH));
    EXPECT_NE(GetTextColor(dc), RGB(255, 0, 0)) << "a check box is not painted like a label";
    DeleteDC(dc);
}

TEST_F(WindowTest, MenuTree) {
    HMENU bar = GetMenu(hwnd_);
    ASSERT_NE(bar, nullptr);
    char text[64];
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    GetMenuStringA(bar, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "File");
    GetMenuStringA(bar, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "About");
    EXPECT_EQ(GetMenuItemID(bar, 1), 404u) << "About is a command of its own";
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(GetMenuItemCount(file), 3);
    const struct {
        const char* caption;
        UINT id;
    } entries[] = {{"Launch Corvane.exe", 401}, {"Save settings", 402}, {"Exit", 403}};
    for (int i = 0; i < 3; ++i) {
        GetMenuStringA(file, i, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, entries[i].caption);
        EXPECT_EQ(GetMenuItemID(file, i), entries[i].id);
    }
}

TEST_F(WindowTest, SettingsViewReachesTheControls) {
    const std::string longText(100000, 'x');
    window_->SetText(9, longText);
    EXPECT_EQ(window_->GetText(9).size(), longText.size()) << "a text box has no length limit";
    window_->SetText(1, "1920 x\t\"1080\"");
    EXPECT_EQ(window_->GetText(1), "1920 x\t\"1080\"");
    EXPECT_EQ(WindowText(Item(201)), "1920 x\t\"1080\"");
    window_->SetCheck(13, true);
    EXPECT_TRUE(window_->GetCheck(13));
    EXPECT_EQ(SendMessageA(Item(113), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(window_->GetCheck(9)) << "only Check13 was set";
    window_->SetCheck(13, false);
    EXPECT_FALSE(window_->GetCheck(13));
}

TEST_F(WindowTest, MarkerChangesLabel28) {
    window_->SetMarker("Set.");
    EXPECT_EQ(window_->GetMarker(), "Set.");
    EXPECT_EQ(WindowText(Item(328)), "Set.");
}

TEST_F(WindowTest, TitleIsSetOnTheWindow) {
    window_->SetTitle("Velkin - Corvane Advanced Config Tool v0.2.1");
    EXPECT_EQ(WindowText(hwnd_), "Velkin - Corvane Advanced Config Tool v0.2.1");
}

TEST_F(WindowTest, ClipboardGetsTheTextAloneAndLosesEverythingElse) {
    UINT other = RegisterClipboardFormatA("Velkin test format");
    ASSERT_TRUE(OpenClipboard(hwnd_));
    EmptyClipboard();
    HGLOBAL old = GlobalAlloc(GMEM_MOVEABLE, 4);
    ASSERT_NE(SetClipboardData(other, old), nullptr);
    CloseClipboard();

    std::string reason;
    ASSERT_TRUE(PutClipboardText(hwnd_, "1AddressOnly", reason)) << reason;

    ASSERT_TRUE(OpenClipboard(hwnd_));
    EXPECT_FALSE(IsClipboardFormatAvailable(other)) << "the clipboard is emptied first";
    HANDLE data = GetClipboardData(CF_TEXT);
    ASSERT_NE(data, nullptr);
    const char* text = static_cast<const char*>(GlobalLock(data));
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "1AddressOnly");
    GlobalUnlock(data);
    CloseClipboard();
}

TEST_F(WindowTest, ClipboardFailureIsReported) {
    // Another window holds the clipboard open.
    HWND other =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    ASSERT_TRUE(OpenClipboard(other));
    std::string reason;
    bool ok = PutClipboardText(hwnd_, "x", reason);
    CloseClipboard();
    DestroyWindow(other);
    EXPECT_FALSE(ok) << "expected a failure while the clipboard is held";
    EXPECT_FALSE(reason.empty()) << "expected the system's reason";
}

TEST_F(WindowTest, ExitClosesWithoutAskingAndEndsTheLoop) {
    window_->SetText(3, "unsaved");
    window_->ExitProgram();
    MSG message;
    bool quit = false;
    for (int i = 0; i < 100 && !quit; ++i) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                break;
            }
            DispatchMessageA(&message);
        }
    }
    EXPECT_TRUE(quit) << "expected WM_QUIT after the window closed";
    EXPECT_FALSE(IsWindow(hwnd_)) << "expected the window to be gone";
    hwnd_ = nullptr;
}

TEST(ErrorText, SystemTextWithoutLineEnd) {
    std::string text = ErrorText(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');
    EXPECT_NE(text.back(), '\r');
}

}  // namespace
}  // namespace velkin
