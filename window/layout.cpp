#include "window/layout.h"

#include <windows.h>

#include "window/author.h"

namespace velkin {

const ControlRow kControls[] = {
    {kCommand1, ControlKind::Button, {540, 120, 1335, 375}, "Environment.cfg"},
    {LabelId(27), ControlKind::Label, {2220, 240, 1605, 210}, "Environment.cfg"},
    {LabelId(28), ControlKind::Label, {3900, 240, 885, 210}, "NOT Set."},
    {LabelId(14), ControlKind::Label, {3180, 720, 1035, 210}, "Resolution"},
    {TextId(1), ControlKind::Text, {4620, 720, 495, 285}, nullptr},
    {TextId(2), ControlKind::Text, {5100, 720, 495, 285}, nullptr},
    {LabelId(17), ControlKind::Label, {3180, 1080, 1545, 210}, "Texture Quality"},
    {TextId(3), ControlKind::Text, {5220, 1080, 375, 285}, nullptr},
    {LabelId(18), ControlKind::Label, {3180, 1440, 1170, 210}, "AntiAliasing"},
    {TextId(4), ControlKind::Text, {5220, 1440, 375, 285}, nullptr},
    {LabelId(19), ControlKind::Label, {3180, 1800, 945, 210}, "Anistropy"},
    {TextId(5), ControlKind::Text, {4740, 1800, 855, 285}, nullptr},
    {LabelId(21), ControlKind::Label, {3180, 2160, 750, 210}, "Gamma"},
    {TextId(6), ControlKind::Text, {4740, 2160, 855, 285}, nullptr},
    {LabelId(20), ControlKind::Label, {3180, 2520, 1365, 210}, "Gamma Ramp"},
    {TextId(7), ControlKind::Text, {4740, 2520, 855, 285}, nullptr},
    {LabelId(22), ControlKind::Label, {3180, 3960, 1440, 210}, "Level of Detail"},
    {TextId(8), ControlKind::Text, {4740, 3960, 855, 285}, nullptr},
    {LabelId(24), ControlKind::Label, {3180, 4320, 1065, 210}, "LoD Offset"},
    {TextId(9), ControlKind::Text, {4620, 4320, 975, 285}, nullptr},
    {LabelId(23), ControlKind::Label, {540, 4200, 990, 210}, "LoD Scale"},
    {TextId(10), ControlKind::Text, {1980, 4200, 975, 285}, nullptr},
    {LabelId(25), ControlKind::Label, {540, 3840, 1290, 210}, "Shader Mode"},
    {TextId(11), ControlKind::Text, {2580, 3840, 375, 285}, nullptr},
    {LabelId(29), ControlKind::Label, {3180, 2880, 1050, 210}, "Brightness"},
    {TextId(12), ControlKind::Text, {4740, 2880, 855, 285}, nullptr},
    {LabelId(30), ControlKind::Label, {3180, 3240, 1140, 210}, "Black Level"},
    {TextId(13), ControlKind::Text, {4740, 3240, 855, 285}, nullptr},
    {LabelId(31), ControlKind::Label, {3180, 3600, 1215, 210}, "Pixel Aspect"},
    {TextId(14), ControlKind::Text, {4740, 3600, 855, 285}, nullptr},
    {LabelId(13), ControlKind::Label, {540, 2640, 2025, 210}, "Movie Grain.............."},
    {CheckId(13), ControlKind::Check, {2580, 2640, 175, 195}, nullptr},
    {LabelId(12), ControlKind::Label, {540, 2880, 2025, 210}, "Flare Effects............."},
    {CheckId(12), ControlKind::Check, {2580, 2880, 175, 195}, nullptr},
    {LabelId(11), ControlKind::Label, {540, 3120, 2040, 210}, "Motion Blur DOF......."},
    {CheckId(11), ControlKind::Check, {2580, 3120, 175, 195}, nullptr},
    {LabelId(10), ControlKind::Label, {540, 3360, 2055, 210}, "Fog Effects................"},
    {CheckId(10), ControlKind::Check, {2580, 3360, 175, 195}, nullptr},
    {LabelId(9), ControlKind::Label, {540, 3600, 2055, 210}, "Force Spectator........"},
    {CheckId(9), ControlKind::Check, {2580, 3600, 175, 195}, nullptr},
    {LabelId(8), ControlKind::Label, {540, 2400, 2040, 210}, "Fullscreen Toggle....."},
    {CheckId(8), ControlKind::Check, {2580, 2400, 175, 195}, nullptr},
    {LabelId(7), ControlKind::Label, {540, 2160, 2040, 210}, "Fullscreen................."},
    {CheckId(7), ControlKind::Check, {2580, 2160, 175, 195}, nullptr},
    {LabelId(6), ControlKind::Label, {540, 1920, 1965, 210}, "Vertical Sync..........."},
    {CheckId(6), ControlKind::Check, {2580, 1920, 175, 195}, nullptr},
    {LabelId(5), ControlKind::Label, {540, 1680, 2025, 210}, "DynamicLoadMips...."},
    {CheckId(5), ControlKind::Check, {2580, 1680, 175, 195}, nullptr},
    {LabelId(4), ControlKind::Label, {540, 1440, 2010, 210}, "Skip Intro................."},
    {CheckId(4), ControlKind::Check, {2580, 1440, 175, 195}, nullptr},
    {LabelId(3), ControlKind::Label, {540, 1200, 2025, 210}, "Confidental..............."},
    {CheckId(3), ControlKind::Check, {2580, 1200, 175, 195}, nullptr},
    {LabelId(2), ControlKind::Label, {540, 960, 2025, 210}, "Development............"},
    {CheckId(2), ControlKind::Check, {2580, 960, 175, 195}, nullptr},
    {LabelId(1), ControlKind::Label, {540, 720, 2055, 210}, "Sound........................"},
    {CheckId(1), ControlKind::Check, {2580, 720, 175, 195}, nullptr},
    {LabelId(15), ControlKind::Label, {120, 4680, 3780, 120}, nullptr},
};
const std::size_t kControlCount = sizeof kControls / sizeof kControls[0];

const MenuRow kMenu[] = {
    {0, "File", 0},
    {1, "Launch Corvane.exe", kMenuLaunch},
    {1, "Save settings", kMenuSave},
    {1, "Exit", kMenuExit},
    {0, "About", kMenuAbout},
};
const std::size_t kMenuCount = sizeof kMenu / sizeof kMenu[0];

namespace {

// The caption of the last label before kControls[index].
std::string LabelBefore(std::size_t index) {
    for (std::size_t i = index; i-- > 0;) {
        if (kControls[i].kind == ControlKind::Label) {
            return kControls[i].caption != nullptr ? kControls[i].caption : "";
        }
    }
    return {};
}

}  // namespace

std::string RowLabel(int id) {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (kControls[i].id == id) {
            return LabelBefore(i);
        }
    }
    return {};
}

std::string DesignCaption(std::size_t index, const std::string& donationAddress) {
    const ControlRow& row = kControls[index];
    if (row.caption != nullptr) {
        return row.caption;
    }
    switch (row.kind) {
        case ControlKind::Label:
            return DonationCaption(donationAddress);
        case ControlKind::Check: {
            // The row's name, as a screen reader should say it: "Sound", not the dots.
            std::string name = LabelBefore(index);
            name.erase(name.find_last_not_of(". ") + 1);
            return name;
        }
        default:
            return {};
    }
}

int LabelRoomTwips(std::size_t index) {
    const ControlRow& label = kControls[index];
    if (index + 1 >= kControlCount || kControls[index + 1].rect.top != label.rect.top) {
        return -1;
    }
    return kControls[index + 1].rect.left - label.rect.left;
}

int ScaleTwips(int twips, int dpi) {
    return MulDiv(twips, dpi, 1440);
}

}  // namespace velkin
