// The conversions at the edge of Windows: UTF-8 and UTF-16 both ways, and the ANSI code page,
// which must refuse what it cannot hold rather than store '?' or a look-alike.
#include <windows.h>

#include <gtest/gtest.h>

#include "win32/text.h"

namespace velkin {
namespace {

TEST(Text, Utf8AndUtf16RoundTrip) {
    const std::pair<std::string, std::wstring> cases[] = {
        {"\xC5\x81ukasz", L"\u0141ukasz"},                      // Łukasz
        {"C:\\\xE6\x96\x87\xE6\xA1\xA3", L"C:\\\u6587\u6863"},  // C:\文档
        {"\xF0\x9F\x8E\xAE", L"\U0001F3AE"},                    // beyond 16 bits: a surrogate pair
        {"", L""},
    };
    for (const auto& [utf8, utf16] : cases) {
        EXPECT_EQ(utf16, Wide(utf8)) << "Wide of \"" << utf8 << "\"";
        EXPECT_EQ(utf8, Utf8(utf16)) << "Utf8 of \"" << utf8 << "\"";
    }
}

TEST(Text, TheAnsiCodePage1252HoldsOnlyItsOwnCharacters) {
    ASSERT_EQ(1252u, GetACP()) << "expected the code page of LC_ALL=C.UTF-8";
    const std::pair<std::string, std::string> held[] = {
        {"Jos\xC3\xA9", "Jos\xE9"}, {"\xE2\x82\xAC 5", "\x80 5"}, {"", ""}};  // José, € 5
    for (const auto& [utf8, ansi] : held) {
        std::string bytes = "old";
        EXPECT_TRUE(Utf8ToAnsi(utf8, bytes)) << "\"" << utf8 << "\": expected it held";
        EXPECT_EQ(ansi, bytes) << "\"" << utf8 << "\"";
        EXPECT_EQ(utf8, AnsiToUtf8(ansi)) << "\"" << utf8 << "\" back";
    }
    // Ł has the best fit L, 李 and 文 none; "\xC3" is no UTF-8.
    for (const char* refused :
         {"\xC5\x81ukasz", "\xE6\x9D\x8E\xE9\x9B\xB7", "C:\\\xE6\x96\x87\xE6\xA1\xA3", "a\xC3"}) {
        std::string bytes = "old";
        EXPECT_FALSE(Utf8ToAnsi(refused, bytes)) << "\"" << refused << "\": expected a refusal";
        EXPECT_EQ("", bytes) << "\"" << refused << "\": expected nothing, no '?' or look-alike";
    }
}

// Run by run-932.sh. "表" is 95 5C there: its second byte is a backslash, but not in UTF-8,
// where a join sees none (see paths_test.cpp).
TEST(CodePage932, ATrailByteOfBackslashIsNoSeparatorOnceConverted) {
    ASSERT_EQ(932u, GetACP()) << "expected the code page of a Japanese locale";
    const std::string documents = AnsiToUtf8("C:\\\x95\x5C");
    EXPECT_EQ("C:\\\xE8\xA1\xA8", documents) << "expected C:\\ and U+8868 as UTF-8";
    std::string bytes;
    EXPECT_TRUE(Utf8ToAnsi(documents, bytes)) << "C:\\ and U+8868: expected them held";
    EXPECT_EQ("C:\\\x95\x5C", bytes) << "the bytes back";
}

}  // namespace
}  // namespace velkin
