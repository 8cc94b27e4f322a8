// The outcome of an operation on the machine, shared by the portable core and the Win32 helpers.
#pragma once

#include <string>
#include <utility>

namespace velkin {

// On failure, `reason` holds a sentence for the user, such as the system's own "Access is
// denied.".
struct Result {
    bool ok = true;
    std::string reason;

    static Result Success() { return {}; }
    static Result Failure(std::string why) { return {false, std::move(why)}; }
};

}  // namespace velkin
