// Feeds arbitrary bytes to the reader as the content of Environment.cfg: splitting, line
// recognition, a full press of Command1 and a save, with cheap invariants checked on each.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "settings.h"
#include "text_lines.h"

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& expected,
                       const std::string& got) {
    std::fprintf(stderr, "%s: expected %s, got %s\n", what.c_str(), expected.c_str(), got.c_str());
    std::abort();
}

void Expect(bool ok, const std::string& what, const std::string& expected, const std::string& got) {
    if (!ok) {
        Fail(what, expected, got);
    }
}

std::string Num(std::size_t n) {
    return std::to_string(n);
}

bool StartsWith(const std::string& line, const char* literal) {
    return std::string_view(line).substr(0, std::string_view(literal).size()) == literal;
}

// Controls kept in memory; every change is recorded so that one line's effect can be checked.
class MemoryView : public velkin::SettingsView {
  public:
    struct Change {
        bool isCheck;
        int n;
        bool checked;
        std::string text;
    };

    std::string AskForText(const std::string&) override {
        ++questions;
        return "";
    }
    void ShowMessage(const std::string&, velkin::Icon) override { ++messages; }
    bool GetCheck(int n) override {
        Expect(n >= 1 && n <= velkin::kSwitchCount, "GetCheck index", "1..13", Num(n));
        return checks[n - 1];
    }
    void SetCheck(int n, bool checked) override {
        Expect(n >= 1 && n <= velkin::kSwitchCount, "SetCheck index", "1..13", Num(n));
        checks[n - 1] = checked;
        changes.push_back({true, n, checked, {}});
    }
    std::string GetText(int n) override {
        Expect(n >= 1 && n <= velkin::kValueCount, "GetText index", "1..14", Num(n));
        return texts[n - 1];
    }
    void SetText(int n, const std::string& text) override {
        Expect(n >= 1 && n <= velkin::kValueCount, "SetText index", "1..14", Num(n));
        texts[n - 1] = text;
        changes.push_back({false, n, false, text});
    }
    std::string GetMarker() override { return marker; }

    bool checks[velkin::kSwitchCount] = {};
    std::string texts[velkin::kValueCount];
    std::string marker = "Set.";
    std::vector<Change> changes;
    int questions = 0;
    int messages = 0;
};

// One file whose content is the fuzzer's input; writes land in memory.
class MemoryFiles : public velkin::FileSystem {
  public:
    explicit MemoryFiles(std::string_view bytes) : content(bytes) {}

    bool FileExists(const std::string&) override { return true; }
    velkin::FileResult ReadLines(const std::string&, std::vector<std::string>& lines) override {
        lines = velkin::SplitLines(content);
        return velkin::FileResult::Success();
    }
    velkin::FileResult WriteLines(const std::string& path,
                                  const std::vector<std::string>& lines) override {
        written[path] = lines;
        return velkin::FileResult::Success();
    }

    std::string content;
    std::map<std::string, std::vector<std::string>> written;
};

void CheckSplit(std::string_view bytes, const std::vector<std::string>& lines) {
    std::string kept;
    for (char c : bytes) {
        if (c != '\r' && c != '\n') {
            kept += c;
        }
    }
    std::string joined;
    for (const std::string& line : lines) {
        Expect(line.find_first_of("\r\n") == std::string::npos, "line end inside a line",
               "no CR or LF", "one in a line of " + Num(line.size()) + " bytes");
        joined += line;
    }
    Expect(joined == kept, "bytes of the lines", "the input without CR and LF",
           Num(joined.size()) + " bytes that differ (input kept " + Num(kept.size()) + ")");
    Expect(lines.size() <= bytes.size(), "line count", "at most " + Num(bytes.size()),
           Num(lines.size()));

    const std::string rejoined = velkin::JoinLines(lines);
    Expect(rejoined.size() == joined.size() + 2 * lines.size(), "joined size",
           Num(joined.size() + 2 * lines.size()), Num(rejoined.size()));
    const std::vector<std::string> again = velkin::SplitLines(rejoined);
    Expect(again == lines, "lines after join and split", Num(lines.size()) + " equal lines",
           Num(again.size()) + " lines that differ");
}

// Whatever ApplyLine did must be what the tables say the line means.
void CheckRecognition(const std::string& line, const MemoryView& view) {
    int matches = 0;
    for (const velkin::SwitchRow& row : velkin::SwitchTable) {
        matches += StartsWith(line, row.on) + StartsWith(line, row.off);
    }
    for (const velkin::ValueRow& row : velkin::ValueTable) {
        matches += StartsWith(line, row.literal);
    }
    Expect(view.changes.size() == static_cast<std::size_t>(matches), "controls set by one line",
           Num(matches), Num(view.changes.size()));
    if (view.changes.empty()) {
        return;
    }
    const MemoryView::Change& change = view.changes.front();
    if (change.isCheck) {
        const velkin::SwitchRow* row = nullptr;
        for (const velkin::SwitchRow& candidate : velkin::SwitchTable) {
            if (candidate.check == change.n) {
                row = &candidate;
            }
        }
        Expect(row != nullptr, "check box of a switch row", "a row for Check" + Num(change.n),
               "none");
        const char* literal = change.checked ? row->on : row->off;
        Expect(StartsWith(line, literal), "switch state of a line",
               std::string(literal) + " at the start",
               "Check" + Num(change.n) + (change.checked ? " checked" : " unchecked"));
        return;
    }
    const velkin::ValueRow* match = nullptr;
    for (const velkin::ValueRow& row : velkin::ValueTable) {
        if (row.text == change.n) {
            match = &row;
        }
    }
    Expect(match != nullptr, "text box of a value row", "a row for Text" + Num(change.n), "none");
    Expect(line == std::string(match->literal) + change.text, "value taken from a line",
           "the rest of the line after " + std::string(match->literal),
           Num(change.text.size()) + " bytes that differ");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = velkin::SplitLines(bytes);
    CheckSplit(bytes, lines);

    MemoryView applied;
    for (const std::string& line : lines) {
        applied.changes.clear();
        velkin::ApplyLine(line, applied);
        CheckRecognition(line, applied);
    }

    // A full press of Command1 on the same content: the controls show what the lines say,
    // and the count matches the table whatever the length of the file.
    MemoryFiles files(bytes);
    MemoryView view;
    velkin::SettingsState state;
    state.SettingsPath = "C:\\Corvane";
    velkin::ReadSettings(state, view, files);
    Expect(view.questions == 0, "questions with a known folder", "0", Num(view.questions));
    Expect(state.LineCount == state.Lines.size(), "LineCount", Num(state.Lines.size()),
           Num(state.LineCount));
    Expect(state.Lines.size() <= lines.size(), "lines kept", "at most " + Num(lines.size()),
           Num(state.Lines.size()));
    Expect(std::equal(state.Lines.begin(), state.Lines.end(), lines.begin()), "lines kept",
           "the file's first " + Num(state.Lines.size()) + " lines", "lines that differ");
    if (state.Lines.size() < lines.size()) {
        Expect(view.messages > 0, "a file cut short", "a message", "silence");
    }
    MemoryView kept;
    for (const std::string& line : state.Lines) {
        velkin::ApplyLine(line, kept);
    }
    for (int n = 1; n <= velkin::kSwitchCount; ++n) {
        Expect(view.checks[n - 1] == kept.checks[n - 1], "Check" + Num(n) + " after a read",
               Num(kept.checks[n - 1]), Num(view.checks[n - 1]));
    }
    for (int n = 1; n <= velkin::kValueCount; ++n) {
        Expect(view.texts[n - 1] == kept.texts[n - 1], "Text" + Num(n) + " after a read",
               Num(kept.texts[n - 1].size()) + " bytes",
               Num(view.texts[n - 1].size()) + " bytes that differ");
    }

    // A save right after: the backup is the lines as read, the new file the filled template.
    const std::vector<std::string> expected = velkin::FillTemplate(view);
    Expect(expected.size() == 200, "template lines", "200", Num(expected.size()));
    velkin::WriteSettings(state, view, files);
    const auto cfg = files.written.find(state.SettingsFile);
    Expect(cfg != files.written.end(), "written settings file", state.SettingsFile, "nothing");
    Expect(cfg->second == expected, "written settings file", "the filled template",
           Num(cfg->second.size()) + " lines that differ");
    const auto backup = files.written.find(state.SettingsPath + "\\Environment.cf0");
    Expect(backup != files.written.end(), "backup", "Environment.cf0 written", "nothing");
    Expect(backup->second == state.Lines, "backup", Num(state.Lines.size()) + " lines as read",
           Num(backup->second.size()) + " lines that differ");
    return 0;
}
