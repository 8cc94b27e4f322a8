// Stand-ins for the window and the disk, recording what the settings operations do to them.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform.h"
#include "settings.h"
#include "text_lines.h"

namespace velkin::test {

using Lines = std::vector<std::string>;

class FakeView : public SettingsView {
  public:
    // Index N is CheckN / TextN; slot 0 is unused.
    bool checks[kSwitchCount + 1] = {};
    std::string texts[kValueCount + 1];
    std::string marker = "NOT Set.";
    std::deque<std::string> answers;  // what the input box returns, in turn
    Lines prompts;
    Lines messages;  // "[warning] " or "[error] " in front of the text for those icons

    std::string AskForText(const std::string& prompt) override {
        prompts.push_back(prompt);
        std::string answer = answers.empty() ? "" : answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        return answer;
    }
    void ShowMessage(const std::string& text, Icon icon) override {
        const char* tag = icon == Icon::Warning ? "[warning] "
                          : icon == Icon::Error ? "[error] "
                                                : "";
        messages.push_back(tag + text);
    }
    bool GetCheck(int n) override { return checks[n]; }
    void SetCheck(int n, bool checked) override { checks[n] = checked; }
    std::string GetText(int n) override { return texts[n]; }
    void SetText(int n, const std::string& text) override { texts[n] = text; }
    std::string GetMarker() override { return marker; }
};

// Files as bytes in memory, keyed by the full name the core forms.
class FakeFileSystem : public FileSystem {
  public:
    std::map<std::string, std::string> files;
    std::set<std::string> unreadable;  // exist, but reading fails
    std::set<std::string> unwritable;  // writing fails, the old content stays
    Lines existsAsked;
    Lines written;  // names, in the order written

    bool FileExists(const std::string& path) override {
        existsAsked.push_back(path);
        return files.count(path) != 0;
    }
    FileResult ReadLines(const std::string& path, Lines& lines) override {
        if (unreadable.count(path) != 0 || files.count(path) == 0) {
            return FileResult::Failure("Access is denied.");
        }
        lines = SplitLines(files[path]);
        return FileResult::Success();
    }
    FileResult WriteLines(const std::string& path, const Lines& lines) override {
        if (unwritable.count(path) != 0) {
            return FileResult::Failure("Access is denied.");
        }
        written.push_back(path);
        files[path] = JoinLines(lines);
        return FileResult::Success();
    }
};

}  // namespace velkin::test
