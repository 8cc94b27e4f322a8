// The launcher over a fake starter: what it asks the system to start, and what it says.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher.h"

namespace velkin {
namespace {

const char kNotInstalled[] =
    "Corvane is not installed: its entry was not found in the registry, so Velkin does not know "
    "where to start it from.";

struct Start {
    std::string application;
    std::string commandLine;
    std::string workDir;
};

class FakeStarter : public ProgramStarter {
  public:
    bool StartMaximized(const std::string& application, const std::string& commandLine,
                        const std::string& workDir, std::string& reason) override {
        starts.push_back({application, commandLine, workDir});
        reason = failure;
        return failure.empty();
    }
    std::vector<Start> starts;
    std::string failure;  // empty: the start succeeds
};

class FakeUi : public LaunchUi {
  public:
    void ShowError(const std::string& text) override { errors.push_back(text); }
    std::vector<std::string> errors;
};

TEST(LaunchGame, StartsExactlyTheQuotedPathInItsFolder) {
    const struct {
        const char* path;
        const char* workDir;
    } cases[] = {
        {"C:\\Program Files (x86)\\Corvane Game\\Corvane.exe",
         "C:\\Program Files (x86)\\Corvane Game"},
        {"C:\\Games\\Corvane\\Corvane.exe", "C:\\Games\\Corvane"},
        {"C:\\Corvane.exe", "C:\\"},
        {"D:/Games/Corvane.exe", "D:/Games"},
        {"\\\\server\\share\\Corvane.exe", "\\\\server\\share"},
        {"Corvane.exe", ""},
    };
    for (const auto& c : cases) {
        FakeStarter starter;
        FakeUi ui;
        LaunchGame(c.path, starter, ui);
        ASSERT_EQ(1u, starter.starts.size()) << c.path;
        EXPECT_EQ(c.path, starter.starts[0].application);
        EXPECT_EQ(std::string("\"") + c.path + "\"", starter.starts[0].commandLine);
        EXPECT_EQ(c.workDir, starter.starts[0].workDir) << c.path;
        EXPECT_TRUE(ui.errors.empty()) << c.path << ": expected no message, got " << ui.errors[0];
    }
}

TEST(LaunchGame, NoPathIsReportedWithoutStarting) {
    for (const char* path : {"Error", ""}) {
        FakeStarter starter;
        FakeUi ui;
        LaunchGame(path, starter, ui);
        EXPECT_TRUE(starter.starts.empty())
            << "\"" << path << "\": expected no start, got " << starter.starts.size();
        ASSERT_EQ(1u, ui.errors.size()) << "\"" << path << "\"";
        EXPECT_EQ(kNotInstalled, ui.errors[0]);
    }
}

TEST(LaunchGame, FailedStartIsReportedWithTheReason) {
    FakeStarter starter;
    starter.failure = "The system cannot find the file specified.";
    FakeUi ui;
    LaunchGame("C:\\Games\\Corvane.exe", starter, ui);
    ASSERT_EQ(1u, ui.errors.size());
    EXPECT_EQ(
        "Could not start C:\\Games\\Corvane.exe:\r\nThe system cannot find the file specified.",
        ui.errors[0]);
}

TEST(LaunchGame, EveryClickStartsAnotherInstance) {
    FakeStarter starter;
    FakeUi ui;
    LaunchGame("C:\\Games\\Corvane.exe", starter, ui);
    LaunchGame("C:\\Games\\Corvane.exe", starter, ui);
    EXPECT_EQ(2u, starter.starts.size());
}

}  // namespace
}  // namespace velkin
