// Feeds arbitrary bytes to the reader's two steps, as the content of Environment.cfg: the line
// splitting (against its join) and the recognition of every line (against the key tables).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "settings.h"
#include "text_lines.h"

namespace {

void Expect(bool ok, const char* what, const std::string& expected, const std::string& got) {
    if (!ok) {
        std::fprintf(stderr, "%s: expected %s, got %s\n", what, expected.c_str(), got.c_str());
        std::abort();
    }
}

bool StartsWith(std::string_view line, std::string_view literal) {
    return line.substr(0, literal.size()) == literal;
}

// Records the one change a line may make: the literal it implies and the value it sets.
class RecordingView : public velkin::SettingsView {
  public:
    std::string AskForText(const std::string&) override { return ""; }
    void ShowMessage(const std::string&, velkin::Icon) override {}
    bool GetCheck(int) override { return false; }
    std::string GetText(int) override { return ""; }
    std::string GetMarker() override { return ""; }
    void SetCheck(int n, bool on) override {
        for (const velkin::SwitchRow& row : velkin::SwitchTable) {
            if (row.check == n) {
                changes.push_back(on ? row.on : row.off);
            }
        }
        Expect(changes.size() == ++calls, "a check box of a switch row", "1..13",
               std::to_string(n));
    }
    void SetText(int n, const std::string& text) override {
        for (const velkin::ValueRow& row : velkin::ValueTable) {
            if (row.text == n) {
                changes.push_back(row.literal + text);
                value = true;
            }
        }
        Expect(changes.size() == ++calls, "a text box of a value row", "1..14", std::to_string(n));
    }
    std::vector<std::string> changes;
    std::size_t calls = 0;
    bool value = false;  // a text box was set: literal and text make up the whole line
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = velkin::SplitLines(bytes);
    std::string kept;  // the input without its line ends
    for (const char c : bytes) {
        if (c != '\r' && c != '\n') {
            kept += c;
        }
    }
    std::string joined;
    for (const std::string& line : lines) {
        Expect(line.find_first_of("\r\n") == std::string::npos, "a line", "no CR or LF inside",
               "one");
        joined += line;
    }
    Expect(joined == kept, "the lines' bytes", "the input's without CR and LF",
           std::to_string(joined.size()) + " bytes, not " + std::to_string(kept.size()));
    Expect(velkin::SplitLines(velkin::JoinLines(lines)) == lines, "lines after a join and a split",
           "the same " + std::to_string(lines.size()), "others");

    for (const std::string& line : lines) {
        RecordingView view;
        velkin::ApplyLine(line, view);
        std::size_t literals = 0;  // how many of the 40 literals begin the line
        for (const velkin::SwitchRow& row : velkin::SwitchTable) {
            literals += StartsWith(line, row.on) + StartsWith(line, row.off);
        }
        for (const velkin::ValueRow& row : velkin::ValueTable) {
            literals += StartsWith(line, row.literal);
        }
        Expect(view.changes.size() == literals, "controls changed by a line",
               std::to_string(literals), std::to_string(view.changes.size()));
        if (!view.changes.empty()) {
            const std::string& change = view.changes[0];
            Expect(view.value ? line == change : StartsWith(line, change), "the change of a line",
                   view.value ? "the whole line" : "its start", "\"" + change + "\"");
        }
    }
    return 0;
}
