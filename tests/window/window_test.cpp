// What the end-to-end tests cannot see cheaply: the About text, the twips rounding, the focus
// order the design table gives, and the client size of the real window.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "about.h"
#include "layout.h"
#include "main_window.h"

namespace velkin {
namespace {

TEST(AboutText, SevenLinesJoinedByCrLf) {
    EXPECT_EQ(
        "Velkin v0.2.1 by Jo Doe\r\nCORVANE Advanced Config Tool v0.2.1\r\n"
        "Beta Release, Writes Enabled!\r\nmail: jo@example.org\r\nsocial: @jo\r\n"
        "BitCoin: ADDR123\r\nblog: jo.example.org",
        AboutText("v0.2.1", {"Jo Doe", "mail: jo@example.org", "social: @jo", "ADDR123",
                             "blog: jo.example.org"}));
    EXPECT_EQ(
        "Velkin v0.2.1 by X\r\nCORVANE Advanced Config Tool v0.2.1\r\n"
        "Beta Release, Writes Enabled!\r\n\r\n\r\nBitCoin: \r\n",
        AboutText("v0.2.1", {"X", "", "", "", ""}))
        << "empty contact lines keep their places";
}

TEST(Layout, ScaleTwipsRoundsToTheNearestPixel) {
    const struct {
        int twips, dpi, pixels;
    } cases[] = {
        {6135, 96, 409}, {4950, 96, 330},  {175, 96, 12},    {15, 96, 1},    {7, 96, 0},
        {8, 96, 1},      {6135, 120, 511}, {4950, 144, 495}, {285, 120, 24}, {0, 96, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.pixels, ScaleTwips(c.twips, c.dpi)) << c.twips << " twips at " << c.dpi;
    }
}

TEST(Layout, FocusGoesFromCommand1ThroughTheTextsThenTheChecksBackwards) {
    std::vector<int> expected = {100};
    for (int n = 1; n <= 14; ++n) {
        expected.push_back(200 + n);
    }
    for (int n = 13; n >= 1; --n) {
        expected.push_back(100 + n);
    }
    std::vector<int> got;
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (TakesFocus(kControls[i].kind)) {
            got.push_back(kControls[i].id);
        }
    }
    EXPECT_EQ(expected, got);
}

TEST(MainWindow, ClientAreaHasTheDesignSize) {
    std::string reason;
    const HWND hwnd = CreateMainWindow(GetModuleHandleA(nullptr), reason);
    ASSERT_NE(nullptr, hwnd) << "window not created: " << reason;
    const HDC dc = GetDC(hwnd);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(hwnd, dc);
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(ScaleTwips(6135, dpi), client.right);
    EXPECT_EQ(ScaleTwips(4950, dpi), client.bottom);
    DestroyWindow(hwnd);
}

}  // namespace
}  // namespace velkin
