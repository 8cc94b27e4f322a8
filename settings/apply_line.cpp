// The recognition of one line against the 40 literals of the two key tables.
#include "settings/settings.h"

namespace velkin {

void ApplyLine(const std::string& line, View& view, FileSystem& files) {
    const std::string_view text = line;
    // With its "=" (and a switch's digit) no literal begins another, so the first match is the
    // only one: VID_FULLSCREEN=1 is not the start of VID_FULLSCREEN_WINDOWED_TOGGLE_ENABLED=1.
    for (int n = 1; n <= kSwitchCount; ++n) {
        const std::string_view key = SwitchTable[n - 1];
        if (text.size() >= key.size() + 2 && text.substr(0, key.size()) == key &&
            text[key.size()] == '=' &&
            (text[key.size() + 1] == '0' || text[key.size() + 1] == '1')) {
            view.SetCheck(n, text[key.size() + 1] == '1');
            return;
        }
    }
    for (int n = 1; n <= kValueCount; ++n) {
        const std::string_view literal = ValueTable[n - 1];
        if (text.substr(0, literal.size()) == literal) {
            view.SetText(n, files.DecodeText(text.substr(literal.size())));
            return;
        }
    }
}

}  // namespace velkin
