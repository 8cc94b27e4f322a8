// Feeds arbitrary bytes to the reader's two steps, as the content of Environment.cfg: the line
// splitting (against its join) and the recognition of every line (against the key tables).
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fakes.h"

namespace {

using velkin::test::Lines;

void Expect(bool ok, const char* what, const std::string& expected, const std::string& got) {
    if (!ok) {
        std::fprintf(stderr, "%s: expected %s, got %s\n", what, expected.c_str(), got.c_str());
        std::abort();
    }
}

bool StartsWith(std::string_view line, std::string_view literal) {
    return line.substr(0, literal.size()) == literal;
}

// Records each change a line makes, as the line that would make it.
struct RecordingView : velkin::test::FakeView {
    void SetCheck(int n, bool on) override {
        changes.push_back(std::string(velkin::SwitchTable[n - 1]) + (on ? "=1" : "=0"));
    }
    void SetText(int n, const std::string& text) override {
        changes.push_back(std::string(velkin::ValueTable[n - 1]) + text);
        value = true;
    }
    Lines changes;
    bool value = false;  // a text box was set: literal and text make up the whole line
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Lines lines;
    if (!velkin::SplitSettingsText(bytes, lines).ok) {
        Expect(bytes.size() >= 2 && (bytes[0] == '\xFF' || bytes[0] == '\xFE'),
               "a refused text", "a UTF-16 mark in front", "none");
        return 0;
    }
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
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
    Lines again;
    velkin::SplitSettingsText(velkin::JoinLines(lines), again);
    Expect(again == lines || StartsWith(velkin::JoinLines(lines), "\xEF\xBB\xBF"),
           "lines after a join and a split", "the same " + std::to_string(lines.size()), "others");

    for (const std::string& line : lines) {
        RecordingView view;
        velkin::ApplyLine(line, view);
        std::size_t literals = 0;  // how many of the 40 literals begin the line
        for (std::string_view key : velkin::SwitchTable) {
            literals += StartsWith(line, std::string(key) + "=1") +
                        StartsWith(line, std::string(key) + "=0");
        }
        for (std::string_view literal : velkin::ValueTable) {
            literals += StartsWith(line, literal);
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
