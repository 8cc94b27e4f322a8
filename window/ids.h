// The names by which the program and its end-to-end tests know the main window and its
// controls: one header, included by both.
#pragma once

namespace velkin {

inline constexpr wchar_t kMainWindowClass[] = L"VelkinMainWindow";

constexpr int kCommand1 = 100;
constexpr int CheckId(int n) {
    return 100 + n;
}  // Check1..Check13
constexpr int TextId(int n) {
    return 200 + n;
}  // Text1..Text14
constexpr int LabelId(int n) {
    return 300 + n;
}  // Label1..Label31
constexpr int kMarkerLabel = LabelId(28);
constexpr int kDonationLabel = LabelId(15);

constexpr int kMenuLaunch = 401;
constexpr int kMenuSave = 402;
constexpr int kMenuExit = 403;
constexpr int kMenuAbout = 404;

}  // namespace velkin
