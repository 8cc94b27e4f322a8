// The fixed layout of a written Environment.cfg.
#pragma once

namespace velkin {

enum class TemplateKind {
    Fixed,   // the text, always
    Switch,  // key "=0" or key "=1" from CheckN
    Value,   // literal followed by the text of TextN
};

struct TemplateRow {
    TemplateKind kind;
    const char* text;  // the fixed line, the switch key, or the value literal
    int control;       // N of CheckN or TextN; 0 for a fixed line
};

constexpr int kTemplateRows = 93;
constexpr int kOutLineCount = 200;  // the rows above, then empty lines

extern const TemplateRow SettingsTemplate[kTemplateRows];

}  // namespace velkin
