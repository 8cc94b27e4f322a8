// Starts the game from the path that start-up read.
#pragma once

#include <memory>
#include <string>

namespace velkin {

class ProgramStarter {
  public:
    virtual ~ProgramStarter() = default;
    // Starts `application` with `commandLine`, in `workDir`, maximised, without waiting.
    // On failure returns false and sets `reason` to the system's text.
    virtual bool StartMaximized(const std::string& application, const std::string& commandLine,
                                const std::string& workDir, std::string& reason) = 0;
};

std::unique_ptr<ProgramStarter> MakeNativeProgramStarter();

class LaunchUi {
  public:
    virtual ~LaunchUi() = default;
    virtual void ShowError(const std::string& text) = 0;  // OK box with an error icon
};

void LaunchGame(const std::string& gamePath, ProgramStarter& starter, LaunchUi& ui);

}  // namespace velkin
