// The main window's design: every control and menu entry as constant tables, in twips.
#pragma once

#include <cstddef>
#include <string>

#include "window/ids.h"

namespace velkin {

// The client area at design size.
constexpr int kClientWidthTwips = 6135;
constexpr int kClientHeightTwips = 4950;

enum class ControlKind { Button, Label, Check, Text };

struct TwipsRect {
    int left, top, width, height;
};

// One control. A null caption means: a check box takes its row's name (the label's text
// without its dots, so that screen readers say it plainly), a text box starts empty, the
// donation label is filled in at run time.
struct ControlRow {
    int id;
    ControlKind kind;
    TwipsRect rect;
    const char* caption;
};

// In z-order, which is also the focus order of the controls that take the focus. Each label
// stands right before the control(s) of its row, so that screen readers name them after it.
extern const ControlRow kControls[];
extern const std::size_t kControlCount;

// depth 0: on the menu bar; depth 1: in the popup opened by the depth-0 row before it.
// An id of 0 marks a popup.
struct MenuRow {
    int depth;
    const char* caption;
    int id;
};

extern const MenuRow kMenu[];
extern const std::size_t kMenuCount;

// The caption a control is created with. `donationAddress` completes the donation label.
std::string DesignCaption(std::size_t index, const std::string& donationAddress);

// The caption of the label that names the row of the control with `id`: the label that stands
// before it, such as "Gamma" for Text6. "" for an id not in the design.
std::string RowLabel(int id);

// How far a label may reach: up to the next control of its row, in twips from its left edge;
// -1 when nothing follows it on its row.
int LabelRoomTwips(std::size_t index);

// Twips to pixels at `dpi` dots per inch, rounded to the nearest pixel. The one scaling rule.
int ScaleTwips(int twips, int dpi);

}  // namespace velkin
