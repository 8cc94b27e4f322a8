// Line ends when reading, CR LF when writing, and the tidying of system texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "system_reason.h"
#include "text_lines.h"

namespace velkin {
namespace {

using Lines = std::vector<std::string>;

struct SplitCase {
    std::string bytes;
    Lines lines;
};

const SplitCase kSplitCases[] = {
    {"", {}},
    {"\r\n", {""}},
    {"a", {"a"}},
    {"a\r\nb\r\n", {"a", "b"}},
    {"a\r\nb", {"a", "b"}},
    {"a\nb\n", {"a", "b"}},
    {"a\rb\r", {"a", "b"}},
    {"a\r\n\r\nb", {"a", "", "b"}},
    {"a\n\nb", {"a", "", "b"}},
    {"a\r\rb", {"a", "", "b"}},
    {"a\n\r\nb", {"a", "", "b"}},
    {"a\r\r\n", {"a", ""}},
    {"a\n\r", {"a", ""}},
    {"\n\n", {"", ""}},
    {" x = y \t\r\n", {" x = y \t"}},
    {std::string("a\0b\r\n\xff\xfe", 7), {std::string("a\0b", 3), "\xff\xfe"}},
};

TEST(SplitLines, EachLineEndEndsOneLine) {
    for (const SplitCase& c : kSplitCases) {
        EXPECT_EQ(c.lines, SplitLines(c.bytes)) << "for bytes \"" << c.bytes << "\"";
    }
}

TEST(JoinLines, EndsEveryLineWithCrLf) {
    EXPECT_EQ("", JoinLines({}));
    EXPECT_EQ("\r\n", JoinLines({""}));
    EXPECT_EQ("a\r\n\r\nb \r\n", JoinLines({"a", "", "b "}));
    EXPECT_EQ(std::string("\0\xff\r\n", 4), JoinLines({std::string("\0\xff", 2)}));
}

TEST(SplitLines, ALongSingleLineAndManyLinesComeBackWhole) {
    const std::string big(10 * 1000 * 1000, 'x');
    const Lines one = SplitLines(big);
    ASSERT_EQ(1u, one.size());
    EXPECT_EQ(big.size(), one[0].size());

    const Lines many(1000 * 1000, "KEY=1");
    EXPECT_EQ(many, SplitLines(JoinLines(many)));
}

TEST(TidyReason, EndsWithOneFullStopAndNoLineEnd) {
    EXPECT_EQ("Access is denied.", TidyReason("Access is denied.\r\n"));
    EXPECT_EQ("Permission denied.", TidyReason("Permission denied"));
    EXPECT_EQ("Unknown error.", TidyReason("\r\n"));
}

}  // namespace
}  // namespace velkin
