// The 93 lines that every written Environment.cfg begins with, and their filling.
#include "settings/settings.h"

#include <utility>

namespace velkin {

namespace {

enum class Kind {
    Fixed,   // the text, always
    Switch,  // SwitchTable row N: key "=0" or key "=1" from CheckN
    Value,   // ValueTable row N: the literal followed by the text of TextN
};

struct TemplateRow {
    Kind kind;
    const char* text;  // a fixed line's text
    int row;           // N, for a switch or a value
};

constexpr TemplateRow Fixed(const char* text) {
    return {Kind::Fixed, text, 0};
}
constexpr TemplateRow Switch(int row) {
    return {Kind::Switch, nullptr, row};
}
constexpr TemplateRow Value(int row) {
    return {Kind::Value, nullptr, row};
}

constexpr int kOutLineCount = 200;  // the template's lines, then empty lines

constexpr TemplateRow kTemplate[] = {
    Fixed("VERSION=3"),
    Switch(9),
    Switch(1),
    Fixed("SND_ENABLE_DEBUGPAGES=0"),
    Switch(2),
    Switch(3),
    Fixed("#DISABLE_SHADER_USAGE_LOGGER=1"),
    Fixed("//AUTOLAUNCHMAP="),
    Switch(4),
    Fixed("DEFAULTGAME=P8"),
    Fixed("XWC_GAME=P8"),
    Fixed("XWC_GAMEPATH=Content\\"),
    Fixed("XWC_WAVESOURCEPATH=Z:\\Files\\Audio\\SoundContainers\\P8\\"),
    Fixed("#XWC_WAVESOURCEPATH=S:\\Projects\\P8\\Sounds\\"),
    Fixed("XWC_WAVE_ENCODE_USE_QUALITY_TABLES=1"),
    Fixed("XWC_WAVE_ENCODE_NON_STREAMING_AS_MPG2=0"),
    Switch(5),
    Fixed("VID_RENDER=D3D9"),
    Value(6),
    Value(12),
    Value(13),
    Value(14),
    Switch(6),
    Switch(7),
    Switch(8),
    Value(1),
    Value(2),
    Fixed("XR_CHARSHADOWS=1"),
    Value(11),
    Fixed("XR_POSTAAQUALITY=0.000000"),
    Value(5),
    Fixed("XWC_POSITION=671, 16"),
    Value(7),
    Fixed("DEFAULTGAMEPATH=Content;Content_Eng"),
    Fixed("VID_CABLEPROFILE=0"),
    Fixed("XR_SURFOPTIONS=16"),
    Switch(12),
    Fixed("XR_WALLMARKS=-1"),
    Fixed("R_PICMIP0=0"),
    Fixed("R_PICMIP1=0"),
    Fixed("R_PICMIP2=0"),
    Fixed("R_PICMIP3=0"),
    Fixed("R_PICMIP4=0"),
    Fixed("R_PICMIP5=0"),
    Fixed("R_PICMIP6=0"),
    Fixed("R_PICMIP7=0"),
    Fixed("R_PICMIP8=0"),
    Fixed("R_PICMIP9=0"),
    Fixed("R_PICMIP10=0"),
    Fixed("R_PICMIP11=0"),
    Fixed("R_PICMIP12=0"),
    Fixed("R_PICMIP13=0"),
    Fixed("R_PICMIP14=0"),
    Fixed("R_PICMIP15=0"),
    Value(9),
    Value(10),
    Value(8),
    Fixed("R_BACKBUFFERFORMAT=16384"),
    Value(4),
    Switch(11),
    Switch(13),
    Fixed("XWC_OVERRIDELIGHTMAP=1"),
    Fixed("XWC_OVERRIDELIGHTGRID=1"),
    Fixed("XWC_LIGHTRES=64"),
    Fixed("XWC_LIGHTOCTTREERES=64"),
    Fixed("XWC_LIGHTOS=2"),
    Fixed("XWC_LIGHTMAPS=1"),
    Fixed("XWC_LIGHTLINEAR=0"),
    Fixed("XWC_LIGHTGRID=1"),
    Fixed("XWC_LIGHTGRIDOVERSAMPLE=0"),
    Fixed("XWC_ENABLEDISTRIBUTION=0"),
    Fixed("XWC_REDOFILES=S:\\Projects\\P8\\Sounds\\VO_S11.xwsc;"),
    Fixed("XWC_CALCPHYS=0"),
    Fixed("PREVIEW_CAMERA_POS=102.229301,357.239105,106.025482"),
    Fixed("PREVIEW_CAMERA_ANGLES=-0.227441,0.5,-3.952526"),
    Fixed("XR_ADAPTIVEQUALITYMODE=2"),
    Fixed("XWC_USETHEBEAST=1"),
    Fixed("XWC_SAVE_PROFILE_DATA=0"),
    Fixed("LANGUAGE=Eng"),
    Fixed("VID_BITDEPTH=0"),
    Value(3),
    Fixed("GPU_PERF_METRIC=196"),
    Fixed("VIDEO_DEFAULTS_SET=1"),
    Fixed("XWC_OPTQ=1"),
    Fixed("XR_PPGLOWBIAS="),
    Fixed("XR_PPGLOWSCALE="),
    Fixed("XR_PPGLOWGAMMA="),
    Fixed("XR_PPGLOWTHRESHOLD="),
    Fixed("XR_VIEWSCALE="),
    Fixed("XR_EFFECTMODELS=0"),
    Fixed("XR_DFRTARGETRATIO=1"),
    Switch(10),
    Fixed("GAME_LASTVALIDPROFILE=default"),
};

// Every row of both key tables stands in the template exactly once.
constexpr bool EachRowOnce(Kind kind, int rows) {
    for (int n = 1; n <= rows; ++n) {
        int uses = 0;
        for (const TemplateRow& row : kTemplate) {
            uses += row.kind == kind && row.row == n;
        }
        if (uses != 1) {
            return false;
        }
    }
    return true;
}
static_assert(std::size(kTemplate) == 93);
static_assert(EachRowOnce(Kind::Switch, kSwitchCount) && EachRowOnce(Kind::Value, kValueCount));

// A text box holds one line; a line end in it (a paste, another program) would add lines.
std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

}  // namespace

Result FillTemplate(View& view, FileSystem& files, std::vector<std::string>& lines) {
    std::vector<std::string> out(kOutLineCount);
    for (std::size_t i = 0; i < std::size(kTemplate); ++i) {
        const TemplateRow& row = kTemplate[i];
        switch (row.kind) {
            case Kind::Fixed:
                out[i] = row.text;
                break;
            case Kind::Switch:
                out[i] =
                    std::string(SwitchTable[row.row - 1]) + (view.GetCheck(row.row) ? "=1" : "=0");
                break;
            case Kind::Value: {
                // Never a '?' or a look-alike in the file: what it cannot hold is refused.
                std::string bytes;
                if (!files.EncodeText(FirstLine(view.GetText(row.row)), bytes)) {
                    return Result::Failure(
                        "Nothing was saved: Environment.cfg cannot store the characters typed "
                        "for " +
                        view.ValueName(row.row) +
                        ". Use only characters of your system's code page, then save again.");
                }
                out[i] = std::string(ValueTable[row.row - 1]) + bytes;
                break;
            }
        }
    }
    lines = std::move(out);
    return Result::Success();
}

}  // namespace velkin
