// The 27 managed keys, their controls and their literals, and the recognition of one line.
#include "settings.h"

#include <cstring>

namespace velkin {

const SwitchRow SwitchTable[kSwitchCount] = {
    {"SND_ENABLE", 1, "SND_ENABLE=1", "SND_ENABLE=0", 12},
    {"SHOW_DEVELOPMENT", 2, "SHOW_DEVELOPMENT=1", "SHOW_DEVELOPMENT=0", 18},
    {"SHOW_CONFIDENTIAL", 3, "SHOW_CONFIDENTIAL=1", "SHOW_CONFIDENTIAL=0", 19},
    {"SKIPINTRO", 4, "SKIPINTRO=1", "SKIPINTRO=0", 11},
    {"R_DYNAMICLOADMIPS", 5, "R_DYNAMICLOADMIPS=1", "R_DYNAMICLOADMIPS=0", 19},
    {"VID_VSYNC", 6, "VID_VSYNC=1", "VID_VSYNC=0", 11},
    {"VID_FULLSCREEN", 7, "VID_FULLSCREEN=1", "VID_FULLSCREEN=0", 16},
    {"VID_FULLSCREEN_WINDOWED_TOGGLE_ENABLED", 8, "VID_FULLSCREEN_WINDOWED_TOGGLE_ENABLED=1",
     "VID_FULLSCREEN_WINDOWED_TOGGLE_ENABLED=0", 40},
    {"FORCESPECTATOR", 9, "FORCESPECTATOR=1", "FORCESPECTATOR=0", 16},
    {"XR_FOG", 10, "XR_FOG=1", "XR_FOG=0", 8},
    {"XR_MOTIONBLUR_DOF", 11, "XR_MOTIONBLUR_DOF=1", "XR_MOTIONBLUR_DOF=0", 19},
    {"XR_FLARES", 12, "XR_FLARES=1", "XR_FLARES=0", 11},
    {"XR_GRAIN", 13, "XR_GRAIN=1", "XR_GRAIN=0", 10},
};

const ValueRow ValueTable[kValueCount] = {
    {"VID_DWIDTH=", 1, 11},        {"VID_DHEIGHT=", 2, 12},
    {"MAXTEXTUREQUALITY=", 3, 18}, {"R_ANTIALIAS=", 4, 12},
    {"R_ANISOTROPY=", 5, 13},      {"VID_GAMMA=", 6, 10},
    {"VID_GAMMARAMP=", 7, 14},     {"XR_LOD=", 8, 7},
    {"XR_LODOFFSET=", 9, 13},      {"XR_LODSCALE=", 10, 12},
    {"XR_SHADERMODE=", 11, 14},    {"VID_BRIGHTNESS=", 12, 15},
    {"VID_BLACKLEVEL=", 13, 15},   {"VID_PIXELASPECT=", 14, 16},
};

namespace {

// The first `n` bytes of `line` equal `literal` exactly; a shorter line never matches.
bool StartsWith(const std::string& line, const char* literal, std::size_t n) {
    return line.size() >= n && std::memcmp(line.data(), literal, n) == 0;
}

}  // namespace

void ApplyLine(const std::string& line, SettingsView& view) {
    // No literal begins another, so the first match is the only one.
    for (const SwitchRow& row : SwitchTable) {
        if (StartsWith(line, row.on, row.compared)) {
            view.SetCheck(row.check, true);
            return;
        }
        if (StartsWith(line, row.off, row.compared)) {
            view.SetCheck(row.check, false);
            return;
        }
    }
    for (const ValueRow& row : ValueTable) {
        if (StartsWith(line, row.literal, row.compared)) {
            view.SetText(row.text, line.substr(row.compared));
            return;
        }
    }
}

}  // namespace velkin
