// Stand-ins for the window and the disk, recording what the program's operations do to them.
#pragma once

#include <functional>
#include <map>
#include <new>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/ports.h"
#include "settings/settings.h"

namespace velkin::test {

using Lines = std::vector<std::string>;

// Every box becomes a line of `boxes`: "[warning] " or "[error] " in front for those icons,
// "ask " in front of a question. `during` runs while a box is open.
class FakeView : public View {
  public:
    bool checks[kSwitchCount + 1] = {};  // index N is CheckN
    std::string texts[kValueCount + 1];  // index N is TextN
    std::string marker = "NOT Set.";
    bool yes = true;
    Lines boxes;
    Lines changes;  // "CheckN=0/1" or "TextN=<text>", in turn
    std::function<void(const std::string& box)> during = [](const std::string&) {};

    void ShowMessage(const std::string& text, Icon icon) override {
        boxes.push_back(Marked(text, icon));
        during(text);
    }
    bool AskYesNo(const std::string& text, Icon icon) override {
        boxes.push_back("ask " + Marked(text, icon));
        return yes;
    }
    std::string AskForText(const std::string& prompt) override {
        boxes.push_back("input " + prompt);
        return "";  // Cancel
    }
    bool GetCheck(int n) override { return checks[n]; }
    void SetCheck(int n, bool checked) override {
        checks[n] = checked;
        changes.push_back("Check" + std::to_string(n) + (checked ? "=1" : "=0"));
    }
    std::string GetText(int n) override { return texts[n]; }
    void SetText(int n, const std::string& text) override {
        texts[n] = text;
        changes.push_back("Text" + std::to_string(n) + "=" + text);
    }
    void SetTitle(const std::string&) override {}  // seen end to end
    void SetMarker(const std::string& caption) override { marker = caption; }
    std::string ValueName(int) override { return ""; }  // seen end to end

  private:
    static std::string Marked(const std::string& text, Icon icon) {
        return (icon == Icon::Warning ? "[warning] "
                : icon == Icon::Error ? "[error] "
                                      : "") +
               text;
    }
};

// Files as bytes in memory, keyed by the full name the core forms.
class FakeFileSystem : public FileSystem {
  public:
    std::map<std::string, std::string> files;
    std::set<std::string> unreadable;  // exist, but reading fails
    std::set<std::string> unwritable;  // writing fails, the old content stays
    std::set<std::string> readOnly;    // writing fails unless asked to keep it read-only
    std::set<std::pair<std::string, std::string>> stuck;  // renames that fail, from and to
    bool huge = false;                                    // reading runs out of memory

    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    Result ReadBytes(const std::string& path, std::string& bytes) override {
        if (huge) {
            throw std::bad_alloc();
        }
        if (unreadable.count(path) != 0 || files.count(path) == 0) {
            return Result::Failure("Access is denied.");
        }
        bytes = files[path];
        return Result::Success();
    }
    Result WriteBytes(const std::string& path, const std::string& bytes, ReadOnly keep) override {
        if (unwritable.count(path) != 0 || (readOnly.count(path) != 0 && keep != ReadOnly::Keep)) {
            return Result::Failure("Access is denied.");
        }
        files[path] = bytes;
        return Result::Success();
    }
    Result RemoveFile(const std::string& path) override {
        files.erase(path);
        return Result::Success();
    }
    // A code page of its own, Latin-1: byte N is U+00NN, so nothing above U+00FF has a place.
    std::string DecodeText(std::string_view bytes) override {
        std::string text;
        for (const unsigned char c : bytes) {
            if (c >= 0x80) {
                text += static_cast<char>(0xC0 | c >> 6);
            }
            text += static_cast<char>(c < 0x80 ? c : 0x80 | (c & 0x3F));
        }
        return text;
    }
    bool EncodeText(std::string_view text, std::string& bytes) override {
        bytes.clear();
        for (std::size_t i = 0; i < text.size(); ++i) {
            const unsigned char c = text[i];
            if (c >= 0xC4 || (c >= 0x80 && i + 1 == text.size())) {
                return false;  // above U+00FF, or cut short
            }
            bytes += static_cast<char>(c < 0x80 ? c : (c & 0x03) << 6 | (text[++i] & 0x3F));
        }
        return true;
    }
    bool IsReadOnly(const std::string& path) override { return readOnly.count(path) != 0; }
    Result RenameFile(const std::string& from, const std::string& to) override {
        if (stuck.count({from, to}) != 0 || files.count(from) == 0 || files.count(to) != 0) {
            return Result::Failure("Access is denied.");
        }
        files[to] = files[from];
        files.erase(from);
        return Result::Success();
    }
    // The aside is vlk1.tmp, vlk2.tmp, ...; the files of that name are the leftovers.
    Result SetAside(const std::string& path, std::string& aside) override {
        aside = path.substr(0, path.rfind('\\')) + "\\vlk" + std::to_string(++asides) + ".tmp";
        return RenameFile(path, aside);
    }
    void RemoveLeftovers(const std::string& path) override {
        const std::string leftover = path.substr(0, path.rfind('\\')) + "\\vlk";
        for (auto file = files.lower_bound(leftover);
             file != files.end() && file->first.rfind(leftover, 0) == 0;) {
            file = files.erase(file);
        }
    }

  private:
    int asides = 0;
};

}  // namespace velkin::test
