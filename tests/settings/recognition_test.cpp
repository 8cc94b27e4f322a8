// Which control a line of Environment.cfg changes, and to what.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes.h"

namespace velkin::test {
namespace {

// Logs every change ApplyLine makes, as "CheckN=0/1" or "TextN=<text>".
class RecordingView : public FakeView {
  public:
    std::vector<std::string> changes;
    void SetCheck(int n, bool checked) override {
        changes.push_back("Check" + std::to_string(n) + (checked ? "=1" : "=0"));
    }
    void SetText(int n, const std::string& text) override {
        changes.push_back("Text" + std::to_string(n) + "=" + text);
    }
};

struct Case {
    std::string line;
    std::string change;  // "" when the line must change nothing
};

const Case kCases[] = {
    // Every switch, both ways.
    {"SND_ENABLE=1", "Check1=1"},
    {"SND_ENABLE=0", "Check1=0"},
    {"SHOW_DEVELOPMENT=1", "Check2=1"},
    {"SHOW_CONFIDENTIAL=1", "Check3=1"},
    {"SKIPINTRO=1", "Check4=1"},
    {"R_DYNAMICLOADMIPS=1", "Check5=1"},
    {"VID_VSYNC=1", "Check6=1"},
    {"VID_FULLSCREEN=1", "Check7=1"},
    {"VID_FULLSCREEN_WINDOWED_TOGGLE_ENABLED=1", "Check8=1"},
    {"FORCESPECTATOR=1", "Check9=1"},
    {"XR_FOG=1", "Check10=1"},
    {"XR_MOTIONBLUR_DOF=1", "Check11=1"},
    {"XR_FLARES=1", "Check12=1"},
    {"XR_GRAIN=1", "Check13=1"},
    {"SHOW_DEVELOPMENT=0", "Check2=0"},
    {"SHOW_CONFIDENTIAL=0", "Check3=0"},
    {"SKIPINTRO=0", "Check4=0"},
    {"R_DYNAMICLOADMIPS=0", "Check5=0"},
    {"VID_VSYNC=0", "Check6=0"},
    {"VID_FULLSCREEN=0", "Check7=0"},
    {"VID_FULLSCREEN_WINDOWED_TOGGLE_ENABLED=0", "Check8=0"},
    {"FORCESPECTATOR=0", "Check9=0"},
    {"XR_FOG=0", "Check10=0"},
    {"XR_MOTIONBLUR_DOF=0", "Check11=0"},
    {"XR_FLARES=0", "Check12=0"},
    {"XR_GRAIN=0", "Check13=0"},
    // Only the key and its digit are compared.
    {"SND_ENABLE=10", "Check1=1"},
    {"SND_ENABLE=1 ; loud", "Check1=1"},
    {"SND_ENABLE=0x", "Check1=0"},
    {"XR_FOG=1\x80", "Check10=1"},
    // Look-alikes that are not the key.
    {"snd_enable=1", ""},
    {" SND_ENABLE=1", ""},
    {"SND_ENABLE =1", ""},
    {"SND_ENABLE= 1", ""},
    {"SND_ENABLE=2", ""},
    {"SND_ENABLE=", ""},
    {"SND_ENABLE", ""},
    {"SND_ENABLE_DEBUGPAGES=0", ""},
    {"SND_ENABLE_DEBUGPAGES=1", ""},
    {"XR_FOGGY=1", ""},
    {"#XR_FOG=1", ""},
    {"// SKIPINTRO=1", ""},
    {"VID_FULLSCREEN_WINDOWED=1", ""},
    {"", ""},
    {"VERSION=3", ""},
    {"LANGUAGE=Eng", ""},
    // Every value, verbatim after its literal.
    {"VID_DWIDTH=1920", "Text1=1920"},
    {"VID_DHEIGHT=1080", "Text2=1080"},
    {"MAXTEXTUREQUALITY=2048", "Text3=2048"},
    {"R_ANTIALIAS=4", "Text4=4"},
    {"R_ANISOTROPY=16", "Text5=16"},
    {"VID_GAMMA=1.2", "Text6=1.2"},
    {"VID_GAMMARAMP=0.9 1.0", "Text7=0.9 1.0"},
    {"XR_LOD=3", "Text8=3"},
    {"XR_LODOFFSET=-0.5", "Text9=-0.5"},
    {"XR_LODSCALE=1.5", "Text10=1.5"},
    {"XR_SHADERMODE=3", "Text11=3"},
    {"VID_BRIGHTNESS=0.5", "Text12=0.5"},
    {"VID_BLACKLEVEL=0.1", "Text13=0.1"},
    {"VID_PIXELASPECT=1.0", "Text14=1.0"},
    {"VID_DWIDTH= 1920 ", "Text1= 1920 "},
    {"VID_DWIDTH=", "Text1="},
    {"VID_DWIDTH=a=b VID_DHEIGHT=3", "Text1=a=b VID_DHEIGHT=3"},
    {std::string("VID_DWIDTH=\xe9\0x", 14), std::string("Text1=\xe9\0x", 9)},
    {"VID_DWIDTH", ""},
    {"VID_DWIDTH =1920", ""},
    {"vid_dwidth=1920", ""},
    {"XR_LOD", ""},
    {"XR_LODBIAS=1", ""},
    {"XR_LODOFFSET", ""},
    {"VID_GAMMARAM=1", ""},
};

TEST(Recognition, EachLineChangesAtMostItsOwnControl) {
    for (const Case& c : kCases) {
        RecordingView view;
        ApplyLine(c.line, view);
        const std::vector<std::string> expected =
            c.change.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.change};
        EXPECT_EQ(expected, view.changes) << "line \"" << c.line << "\"";
    }
}

}  // namespace
}  // namespace velkin::test
