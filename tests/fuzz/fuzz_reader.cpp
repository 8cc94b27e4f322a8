// Feeds arbitrary bytes to the reader's two steps, as the content of Environment.cfg: the line
// splitting, whose lines must come back the same through the backup's join, and the
// recognition of every line, which must not crash.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/fakes.h"

using velkin::test::Lines;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Lines lines, again;
    if (!velkin::SplitSettingsText({reinterpret_cast<const char*>(data), size}, lines).ok) {
        return 0;
    }
    // A join that happens to begin with a byte-order mark reads as marked text; only it may differ.
    const std::string joined = velkin::JoinLines(lines);
    if (velkin::SplitSettingsText(joined, again).ok && joined.rfind("\xEF\xBB\xBF", 0) != 0 &&
        again != lines) {
        std::fprintf(stderr, "lines after a join and a split: expected the same %zu, got %zu\n",
                     lines.size(), again.size());
        std::abort();
    }
    velkin::test::FakeView view;
    velkin::test::FakeFileSystem files;
    for (const std::string& line : lines) {
        velkin::ApplyLine(line, view,
                          files);  // under the sanitizers: nothing read past a line's end
    }
    return 0;
}
