// Feeds arbitrary bytes to the reader's two steps, as the content of Environment.cfg: the line
// splitting (against its join) and the recognition of every line.
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
        Expect(bytes.size() >= 2 && (bytes[0] == '\xFF' || bytes[0] == '\xFE'), "a refused text",
               "a UTF-16 mark in front", "none");
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
    // A joined text that begins with a mark of its own reads differently; only that may.
    const bool marked = !velkin::SplitSettingsText(velkin::JoinLines(lines), again).ok ||
                        StartsWith(velkin::JoinLines(lines), "\xEF\xBB\xBF");
    Expect(again == lines || marked,
           "lines after a join and a split", "the same " + std::to_string(lines.size()), "others");

    // Recognition runs on every line; its rules are the unit tests' to check.
    velkin::test::FakeView view;
    for (const std::string& line : lines) {
        velkin::ApplyLine(line, view);
        Expect(view.changes.size() <= 1, "controls changed by a line", "at most 1",
               std::to_string(view.changes.size()));
        view.changes.clear();
    }
    return 0;
}
