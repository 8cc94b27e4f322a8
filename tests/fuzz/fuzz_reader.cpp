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
        velkin::test::FakeView view;
        velkin::ApplyLine(line, view);
        // The one literal that begins the line, if any, and what it sets the control to.
        std::string expected;
        for (int n = 1; n <= velkin::kSwitchCount; ++n) {
            for (const char* digit : {"=0", "=1"}) {
                const std::string literal = std::string(velkin::SwitchTable[n - 1]) + digit;
                if (StartsWith(line, literal)) {
                    expected += "Check" + std::to_string(n) + digit;
                }
            }
        }
        for (int n = 1; n <= velkin::kValueCount; ++n) {
            const std::string_view literal = velkin::ValueTable[n - 1];
            if (StartsWith(line, literal)) {
                expected += "Text" + std::to_string(n) + "=" + line.substr(literal.size());
            }
        }
        const std::string got = view.changes.empty() ? "" : view.changes[0];
        Expect(view.changes.size() <= 1 && got == expected, "the change of a line",
               "\"" + expected + "\"", "\"" + got + "\"");
    }
    return 0;
}
