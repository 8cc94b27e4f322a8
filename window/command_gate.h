// The window's commands and the closes that come while one runs. A command may wait in a modal
// box, whose message loop can start another command or deliver a close (taskkill, an
// installer, File > Exit); the window must outlive them all.
#pragma once

#include <exception>
#include <new>
#include <string>

namespace velkin {

class CommandGate {
  public:
    // Runs `operation` to its end; whatever it throws goes to `report` as a sentence. True
    // when a close came meanwhile and is due now that no command runs.
    template <class Operation, class Report>
    bool Run(Operation&& operation, Report&& report) {
        {
            const Running running(running_);
            try {
                operation();
            } catch (const std::bad_alloc&) {
                report(std::string("Not enough memory to finish this operation."));
            } catch (const std::exception& error) {
                report(std::string("This operation failed: ") + error.what());
            }
        }
        if (running_ == 0 && closeHeld_) {
            closeHeld_ = false;
            return true;
        }
        return false;
    }

    // A close: true when it may be carried out now, false when it is held for Run.
    bool Close() {
        closeHeld_ = running_ > 0;
        return !closeHeld_;
    }

    // Whether a command is under way, perhaps in a box: the session must not end then.
    bool Busy() const { return running_ > 0; }

  private:
    // Counts a command for as long as it runs, however it ends.
    class Running {
      public:
        explicit Running(int& count) : count_(count) { ++count_; }
        ~Running() { --count_; }
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;

      private:
        int& count_;
    };

    int running_ = 0;
    bool closeHeld_ = false;
};

}  // namespace velkin
