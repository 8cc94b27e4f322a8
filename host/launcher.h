// Starts the game from the path that start-up read from its uninstall entry.
#pragma once

#include <string>

#include "common/ports.h"

namespace velkin {

// What starting the game means: the program file, its quoted command line and its folder;
// or, when nothing can be started, the message that says why.
struct LaunchPlan {
    std::string program;
    std::string commandLine;
    std::string folder;  // "" to inherit ours
    std::string refusal;
};

// `gamePath` is DisplayIcon as read, with environment variables already expanded.
LaunchPlan PlanLaunch(const std::string& gamePath);

// The message for a start that failed for `reason`.
std::string StartFailure(const std::string& program, const std::string& reason);

// Starts the game maximised, without waiting; every failure is shown in a box.
void LaunchGame(const std::string& gamePath, View& view);

}  // namespace velkin
