// Paths as UTF-8 text: the folder of a path, a join, a name's end without case.
#include <gtest/gtest.h>

#include "common/paths.h"

namespace velkin {
namespace {

// "表" (U+8868) and "文档" in UTF-8: no byte of them is a backslash.
const char kHyou[] = "\xE8\xA1\xA8";
const char kWendang[] = "\xE6\x96\x87\xE6\xA1\xA3";

TEST(Paths, FolderOfKeepsOnlyARootsSeparator) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Games\\Corvane.exe", "C:\\Games"},
        {"C:\\Corvane.exe", "C:\\"},
        {"\\Corvane.exe", "\\"},
        {"D:/Games/Corvane.exe", "D:/Games"},
        {"Corvane.exe", ""},
        {"C:Corvane.exe", ""},
        {std::string("C:\\") + kWendang + "\\Corvane.exe", std::string("C:\\") + kWendang},
        {"\\\\server\\share\\Environment.cfg", "\\\\server\\share"},
    };
    for (const auto& [path, folder] : cases) {
        EXPECT_EQ(folder, FolderOf(path)) << "path \"" << path << "\"";
    }
}

TEST(Paths, AJoinPutsOneSeparatorBetween) {
    const std::pair<std::string, std::string> cases[] = {
        {"D:\\Docs", "D:\\Docs\\Corvane"},
        {"D:\\", "D:\\Corvane"},
        {"D:/", "D:/Corvane"},
        {"", "Corvane"},
        // A last character of several bytes is no separator.
        {std::string("C:\\") + kHyou, std::string("C:\\") + kHyou + "\\Corvane"},
    };
    for (const auto& [folder, joined] : cases) {
        EXPECT_EQ(joined, JoinPath(folder, "Corvane")) << "folder \"" << folder << "\"";
    }
}

TEST(Paths, ANameEndsWithoutRegardToAsciiCase) {
    const struct {
        const char* text;
        const char* end;
        bool ends;
    } cases[] = {
        {"C:\\G\\Corvane.EXE", ".exe", true},   {"C:\\G\\Corvane.exe", ".EXE", true},
        {"C:\\G\\Corvane.exe ", ".exe", false}, {"exe", ".exe", false},
        {"C:\\G\\Corvane.exf", ".exe", false},  {".exe", ".exe", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.ends, EndsWithNoCase(c.text, c.end))
            << "\"" << c.text << "\" ending in \"" << c.end << "\"";
    }
}

}  // namespace
}  // namespace velkin
