// The 93 lines that every written Environment.cfg begins with, and their filling.
#include "settings_template.h"

#include "settings.h"

namespace velkin {

namespace {
constexpr TemplateKind F = TemplateKind::Fixed;
constexpr TemplateKind S = TemplateKind::Switch;
constexpr TemplateKind V = TemplateKind::Value;
}  // namespace

const TemplateRow SettingsTemplate[kTemplateRows] = {
    {F, "VERSION=3", 0},
    {S, "FORCESPECTATOR", 9},
    {S, "SND_ENABLE", 1},
    {F, "SND_ENABLE_DEBUGPAGES=0", 0},
    {S, "SHOW_DEVELOPMENT", 2},
    {S, "SHOW_CONFIDENTIAL", 3},
    {F, "#DISABLE_SHADER_USAGE_LOGGER=1", 0},
    {F, "//AUTOLAUNCHMAP=", 0},
    {S, "SKIPINTRO", 4},
    {F, "DEFAULTGAME=P8", 0},
    {F, "XWC_GAME=P8", 0},
    {F, "XWC_GAMEPATH=Content\\", 0},
    {F, "XWC_WAVESOURCEPATH=Z:\\Files\\Audio\\SoundContainers\\P8\\", 0},
    {F, "#XWC_WAVESOURCEPATH=S:\\Projects\\P8\\Sounds\\", 0},
    {F, "XWC_WAVE_ENCODE_USE_QUALITY_TABLES=1", 0},
    {F, "XWC_WAVE_ENCODE_NON_STREAMING_AS_MPG2=0", 0},
    {S, "R_DYNAMICLOADMIPS", 5},
    {F, "VID_RENDER=D3D9", 0},
    {V, "VID_GAMMA=", 6},
    {V, "VID_BRIGHTNESS=", 12},
    {V, "VID_BLACKLEVEL=", 13},
    {V, "VID_PIXELASPECT=", 14},
    {S, "VID_VSYNC", 6},
    {S, "VID_FULLSCREEN", 7},
    {S, "VID_FULLSCREEN_WINDOWED_TOGGLE_ENABLED", 8},
    {V, "VID_DWIDTH=", 1},
    {V, "VID_DHEIGHT=", 2},
    {F, "XR_CHARSHADOWS=1", 0},
    {V, "XR_SHADERMODE=", 11},
    {F, "XR_POSTAAQUALITY=0.000000", 0},
    {V, "R_ANISOTROPY=", 5},
    {F, "XWC_POSITION=671, 16", 0},
    {V, "VID_GAMMARAMP=", 7},
    {F, "DEFAULTGAMEPATH=Content;Content_Eng", 0},
    {F, "VID_CABLEPROFILE=0", 0},
    {F, "XR_SURFOPTIONS=16", 0},
    {S, "XR_FLARES", 12},
    {F, "XR_WALLMARKS=-1", 0},
    {F, "R_PICMIP0=0", 0},
    {F, "R_PICMIP1=0", 0},
    {F, "R_PICMIP2=0", 0},
    {F, "R_PICMIP3=0", 0},
    {F, "R_PICMIP4=0", 0},
    {F, "R_PICMIP5=0", 0},
    {F, "R_PICMIP6=0", 0},
    {F, "R_PICMIP7=0", 0},
    {F, "R_PICMIP8=0", 0},
    {F, "R_PICMIP9=0", 0},
    {F, "R_PICMIP10=0", 0},
    {F, "R_PICMIP11=0", 0},
    {F, "R_PICMIP12=0", 0},
    {F, "R_PICMIP13=0", 0},
    {F, "R_PICMIP14=0", 0},
    {F, "R_PICMIP15=0", 0},
    {V, "XR_LODOFFSET=", 9},
    {V, "XR_LODSCALE=", 10},
    {V, "XR_LOD=", 8},
    {F, "R_BACKBUFFERFORMAT=16384", 0},
    {V, "R_ANTIALIAS=", 4},
    {S, "XR_MOTIONBLUR_DOF", 11},
    {S, "XR_GRAIN", 13},
    {F, "XWC_OVERRIDELIGHTMAP=1", 0},
    {F, "XWC_OVERRIDELIGHTGRID=1", 0},
    {F, "XWC_LIGHTRES=64", 0},
    {F, "XWC_LIGHTOCTTREERES=64", 0},
    {F, "XWC_LIGHTOS=2", 0},
    {F, "XWC_LIGHTMAPS=1", 0},
    {F, "XWC_LIGHTLINEAR=0", 0},
    {F, "XWC_LIGHTGRID=1", 0},
    {F, "XWC_LIGHTGRIDOVERSAMPLE=0", 0},
    {F, "XWC_ENABLEDISTRIBUTION=0", 0},
    {F, "XWC_REDOFILES=S:\\Projects\\P8\\Sounds\\VO_S11.xwsc;", 0},
    {F, "XWC_CALCPHYS=0", 0},
    {F, "PREVIEW_CAMERA_POS=102.229301,357.239105,106.025482", 0},
    {F, "PREVIEW_CAMERA_ANGLES=-0.227441,0.5,-3.952526", 0},
    {F, "XR_ADAPTIVEQUALITYMODE=2", 0},
    {F, "XWC_USETHEBEAST=1", 0},
    {F, "XWC_SAVE_PROFILE_DATA=0", 0},
    {F, "LANGUAGE=Eng", 0},
    {F, "VID_BITDEPTH=0", 0},
    {V, "MAXTEXTUREQUALITY=", 3},
    {F, "GPU_PERF_METRIC=196", 0},
    {F, "VIDEO_DEFAULTS_SET=1", 0},
    {F, "XWC_OPTQ=1", 0},
    {F, "XR_PPGLOWBIAS=", 0},
    {F, "XR_PPGLOWSCALE=", 0},
    {F, "XR_PPGLOWGAMMA=", 0},
    {F, "XR_PPGLOWTHRESHOLD=", 0},
    {F, "XR_VIEWSCALE=", 0},
    {F, "XR_EFFECTMODELS=0", 0},
    {F, "XR_DFRTARGETRATIO=1", 0},
    {S, "XR_FOG", 10},
    {F, "GAME_LASTVALIDPROFILE=default", 0},
};

std::vector<std::string> FillTemplate(SettingsView& view) {
    std::vector<std::string> out(kOutLineCount);
    for (int i = 0; i < kTemplateRows; ++i) {
        const TemplateRow& row = SettingsTemplate[i];
        std::string& line = out[i];
        line = row.text;
        switch (row.kind) {
            case TemplateKind::Fixed:
                break;
            case TemplateKind::Switch:
                line += view.GetCheck(row.control) ? "=1" : "=0";
                break;
            case TemplateKind::Value:
                line += view.GetText(row.control);
                break;
        }
    }
    return out;
}

}  // namespace velkin
