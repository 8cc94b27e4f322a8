#!/bin/sh
# Makes the golden files of the settings tests, by hand-written rule rather than by the program.
#   sample-input.cfg   a settings file as the game leaves it, all 27 managed keys set
#   sample-output.cfg  the file that Save writes after reading sample-input.cfg, nothing edited
#   edited-output.cfg  sample-output.cfg after Text6 (gamma) was set to "1.0", a line break and
#                      "FORCESPECTATOR=1" (what follows the break never reaches the file), and
#                      Movie Grain (XR_GRAIN) and Motion Blur DOF (XR_MOTIONBLUR_DOF) were ticked
#   code-page-input.cfg, code-page-output.cfg  the first two with bytes above 127 (see below)
# Every line ends in CR LF. Run from anywhere; writes beside this script.
set -eu
cd "$(dirname "$0")"

line() { printf '%s\r\n' "$1"; }

# The written file: 93 template lines, then 107 empty ones.
# $1..$13: FORCESPECTATOR SND_ENABLE SHOW_DEVELOPMENT SHOW_CONFIDENTIAL SKIPINTRO
#          R_DYNAMICLOADMIPS VID_VSYNC VID_FULLSCREEN VID_FULLSCREEN_WINDOWED_TOGGLE_ENABLED
#          XR_FLARES XR_MOTIONBLUR_DOF XR_GRAIN XR_FOG   (0 or 1)
# Values come from the variables GAMMA BRIGHT BLACK ASPECT WIDTH HEIGHT SHADER ANISO RAMP
# LODOFF LODSCALE LOD AA TEXQ.
template() {
    line 'VERSION=3'
    line "FORCESPECTATOR=$1"
    line "SND_ENABLE=$2"
    line 'SND_ENABLE_DEBUGPAGES=0'
    line "SHOW_DEVELOPMENT=$3"
    line "SHOW_CONFIDENTIAL=$4"
    line '#DISABLE_SHADER_USAGE_LOGGER=1'
    line '//AUTOLAUNCHMAP='
    line "SKIPINTRO=$5"
    line 'DEFAULTGAME=P8'
    line 'XWC_GAME=P8'
    line 'XWC_GAMEPATH=Content\'
    line 'XWC_WAVESOURCEPATH=Z:\Files\Audio\SoundContainers\P8\'
    line '#XWC_WAVESOURCEPATH=S:\Projects\P8\Sounds\'
    line 'XWC_WAVE_ENCODE_USE_QUALITY_TABLES=1'
    line 'XWC_WAVE_ENCODE_NON_STREAMING_AS_MPG2=0'
    line "R_DYNAMICLOADMIPS=$6"
    line 'VID_RENDER=D3D9'
    line "VID_GAMMA=$GAMMA"
    line "VID_BRIGHTNESS=$BRIGHT"
    line "VID_BLACKLEVEL=$BLACK"
    line "VID_PIXELASPECT=$ASPECT"
    line "VID_VSYNC=$7"
    line "VID_FULLSCREEN=$8"
    line "VID_FULLSCREEN_WINDOWED_TOGGLE_ENABLED=$9"
    line "VID_DWIDTH=$WIDTH"
    line "VID_DHEIGHT=$HEIGHT"
    line 'XR_CHARSHADOWS=1'
    line "XR_SHADERMODE=$SHADER"
    line 'XR_POSTAAQUALITY=0.000000'
    line "R_ANISOTROPY=$ANISO"
    line 'XWC_POSITION=671, 16'
    line "VID_GAMMARAMP=$RAMP"
    line 'DEFAULTGAMEPATH=Content;Content_Eng'
    line 'VID_CABLEPROFILE=0'
    line 'XR_SURFOPTIONS=16'
    line "XR_FLARES=${10}"
    line 'XR_WALLMARKS=-1'
    i=0
    while [ $i -le 15 ]; do
        line "R_PICMIP$i=0"
        i=$((i + 1))
    done
    line "XR_LODOFFSET=$LODOFF"
    line "XR_LODSCALE=$LODSCALE"
    line "XR_LOD=$LOD"
    line 'R_BACKBUFFERFORMAT=16384'
    line "R_ANTIALIAS=$AA"
    line "XR_MOTIONBLUR_DOF=${11}"
    line "XR_GRAIN=${12}"
    line 'XWC_OVERRIDELIGHTMAP=1'
    line 'XWC_OVERRIDELIGHTGRID=1'
    line 'XWC_LIGHTRES=64'
    line 'XWC_LIGHTOCTTREERES=64'
    line 'XWC_LIGHTOS=2'
    line 'XWC_LIGHTMAPS=1'
    line 'XWC_LIGHTLINEAR=0'
    line 'XWC_LIGHTGRID=1'
    line 'XWC_LIGHTGRIDOVERSAMPLE=0'
    line 'XWC_ENABLEDISTRIBUTION=0'
    line 'XWC_REDOFILES=S:\Projects\P8\Sounds\VO_S11.xwsc;'
    line 'XWC_CALCPHYS=0'
    line 'PREVIEW_CAMERA_POS=102.229301,357.239105,106.025482'
    line 'PREVIEW_CAMERA_ANGLES=-0.227441,0.5,-3.952526'
    line 'XR_ADAPTIVEQUALITYMODE=2'
    line 'XWC_USETHEBEAST=1'
    line 'XWC_SAVE_PROFILE_DATA=0'
    line 'LANGUAGE=Eng'
    line 'VID_BITDEPTH=0'
    line "MAXTEXTUREQUALITY=$TEXQ"
    line 'GPU_PERF_METRIC=196'
    line 'VIDEO_DEFAULTS_SET=1'
    line 'XWC_OPTQ=1'
    line 'XR_PPGLOWBIAS='
    line 'XR_PPGLOWSCALE='
    line 'XR_PPGLOWGAMMA='
    line 'XR_PPGLOWTHRESHOLD='
    line 'XR_VIEWSCALE='
    line 'XR_EFFECTMODELS=0'
    line 'XR_DFRTARGETRATIO=1'
    line "XR_FOG=${13}"
    line 'GAME_LASTVALIDPROFILE=default'
    i=94
    while [ $i -le 200 ]; do
        line ''
        i=$((i + 1))
    done
}

# The game's own file, in its own order, with comments, unknown keys, look-alikes of managed
# keys that must not count, and VID_DWIDTH twice (the later line wins). $HEAD is its first line,
# $IN_GAMMA the gamma.
game_file() {
    line "$HEAD"
    line 'VERSION=3'
    line 'FORCESPECTATOR=0'
    line 'SND_ENABLE=1'
    line 'SND_ENABLE_DEBUGPAGES=1'
    line 'SHOW_DEVELOPMENT=1'
    line 'SHOW_CONFIDENTIAL=0'
    line '#DISABLE_SHADER_USAGE_LOGGER=1'
    line 'SKIPINTRO=1'
    line 'DEFAULTGAME=P8'
    line 'VID_DWIDTH=1280'
    line 'R_DYNAMICLOADMIPS=0'
    line 'VID_RENDER=D3D9'
    line ''
    line '# display'
    line "VID_GAMMA=$IN_GAMMA"
    line 'VID_GAMMARAMP=0.9 1.0 1.1'
    line 'VID_BRIGHTNESS=0.52'
    line 'VID_BLACKLEVEL=0.07'
    line 'VID_PIXELASPECT=1.000000'
    line 'VID_VSYNC=1'
    line 'VID_FULLSCREEN=0'
    line 'VID_FULLSCREEN_WINDOWED_TOGGLE_ENABLED=1'
    line 'VID_DWIDTH=1920'
    line 'VID_DHEIGHT=1080'
    line 'vid_dheight=600'
    line 'VID_VSYNC=2'
    line 'XR_CHARSHADOWS=0'
    line 'XR_SHADERMODE=3'
    line 'R_ANISOTROPY=8'
    line 'XWC_POSITION=12, 40'
    line 'XR_FLARES=1'
    line '#XR_FOG=0'
    line 'XR_LODOFFSET=-0.25'
    line 'XR_LODSCALE=1.5'
    line 'XR_LOD=2'
    line 'R_ANTIALIAS=4'
    line 'XR_MOTIONBLUR_DOF=0'
    line 'XR_GRAIN=0'
    line ' XR_GRAIN=1'
    line 'LANGUAGE=Ger'
    line 'MAXTEXTUREQUALITY=2048'
    line 'XR_VIEWSCALE=0.8'
    line 'XR_FOG=1'
    line 'GAME_LASTVALIDPROFILE=player1'
}

HEAD='// Corvane environment settings' IN_GAMMA=1.15 game_file >sample-input.cfg

GAMMA=1.15 BRIGHT=0.52 BLACK=0.07 ASPECT=1.000000 WIDTH=1920 HEIGHT=1080 SHADER=3 ANISO=8
RAMP='0.9 1.0 1.1' LODOFF=-0.25 LODSCALE=1.5 LOD=2 AA=4 TEXQ=2048
template 0 1 1 0 1 0 1 0 1 1 0 0 1 >sample-output.cfg

GAMMA=1.0 BRIGHT=0.52 BLACK=0.07 ASPECT=1.000000 WIDTH=1920 HEIGHT=1080 SHADER=3 ANISO=8
RAMP='0.9 1.0 1.1' LODOFF=-0.25 LODSCALE=1.5 LOD=2 AA=4 TEXQ=2048
template 0 1 1 0 1 0 1 0 1 1 1 1 1 >edited-output.cfg

# Bytes above 127, as the game writes them in the code page (Latin-1 here, as in the tests' fake):
# a comment that only the backup keeps, and a gamma that goes to its box and back unchanged.
deg="$(printf '\260')"   # the degree sign
ue="$(printf '\374')"    # u with diaeresis
HEAD="// Corvane-Einstellungen f${ue}r Spieler" IN_GAMMA="1.15$deg" game_file >code-page-input.cfg
GAMMA="1.15$deg" BRIGHT=0.52 BLACK=0.07 ASPECT=1.000000 WIDTH=1920 HEIGHT=1080 SHADER=3 ANISO=8
RAMP='0.9 1.0 1.1' LODOFF=-0.25 LODSCALE=1.5 LOD=2 AA=4 TEXQ=2048
template 0 1 1 0 1 0 1 0 1 1 0 0 1 >code-page-output.cfg
