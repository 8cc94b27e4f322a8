// The window's commands: a close that comes while one runs waits for its end, however it ends.
#include <gtest/gtest.h>

#include <stdexcept>

#include "window/command_gate.h"

namespace velkin {
namespace {

TEST(CommandGate, AHeldCloseIsDueWhenTheLastCommandEndsEvenByAThrow) {
    const struct {
        const char* what;
        bool throws;
        bool nested;
    } cases[] = {
        {"a command that returns", false, false},
        {"a command that throws", true, false},
        {"a command in a command, the inner one throwing", true, true},
    };
    for (const auto& c : cases) {
        CommandGate gate;
        std::string reported;
        const auto report = [&](const std::string& text) { reported = text; };
        bool closedInside = true;
        bool dueInside = true;
        const bool due = gate.Run(
            [&] {
                closedInside = gate.Close();
                if (c.nested) {
                    dueInside = gate.Run([&] { throw std::runtime_error("disk gone"); }, report);
                } else {
                    dueInside = false;
                    if (c.throws) {
                        throw std::runtime_error("disk gone");
                    }
                }
            },
            report);
        EXPECT_FALSE(closedInside) << c.what << ": expected the close held, got carried out";
        EXPECT_FALSE(dueInside) << c.what << ": expected the close held by the outer command";
        EXPECT_TRUE(due) << c.what << ": expected the held close due at the end, got still held";
        EXPECT_FALSE(gate.Busy()) << c.what << ": expected no command running, got one";
        EXPECT_EQ(c.throws ? "This operation failed: disk gone" : "", reported) << c.what;
        EXPECT_TRUE(gate.Close()) << c.what << ": expected a later close carried out at once";
    }
}

}  // namespace
}  // namespace velkin
