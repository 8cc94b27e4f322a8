// The settings file Environment.cfg: what the program reads from it and writes to it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform.h"

namespace velkin {

constexpr int kSwitchCount = 13;  // Check1..Check13
constexpr int kValueCount = 14;   // Text1..Text14

// A row of SwitchTable: the key, its check box and its two literals.
struct SwitchRow {
    const char* key;
    int check;        // N of CheckN
    const char* on;   // key "=1"
    const char* off;  // key "=0"
    std::size_t compared;
};

// A row of ValueTable: the literal (key "=") and its text box.
struct ValueRow {
    const char* literal;
    int text;  // N of TextN
    std::size_t compared;
};

extern const SwitchRow SwitchTable[kSwitchCount];
extern const ValueRow ValueTable[kValueCount];

// The run-time fields that the window's handlers share.
struct SettingsState {
    std::string SettingsPath;  // folder of Environment.cfg, no trailing backslash; < 2 chars: none
    std::string SettingsFile;  // SettingsPath + "\Environment.cfg", formed by the reader
    std::vector<std::string> Lines;  // the file's lines as last read, in file order
    std::size_t LineCount = 0;       // always Lines.size()
    bool FileRead = false;           // the last press of Command1 actually read a file
};

// What the settings operations need from the window.
class SettingsView {
  public:
    virtual ~SettingsView() = default;
    // Modal input box with the application title; returns "" on Cancel.
    virtual std::string AskForText(const std::string& prompt) = 0;
    // Modal message box with one OK button and the application title.
    virtual void ShowMessage(const std::string& text, Icon icon) = 0;
    virtual bool GetCheck(int n) = 0;  // CheckN
    virtual void SetCheck(int n, bool checked) = 0;
    virtual std::string GetText(int n) = 0;  // TextN
    virtual void SetText(int n, const std::string& text) = 0;
    virtual std::string GetMarker() = 0;  // caption of Label28
};

// Recognises one line against the 40 literals and sets the control it names, if any.
void ApplyLine(const std::string& line, SettingsView& view);

// The 200 lines of a new Environment.cfg, filled from the controls (OutLines).
std::vector<std::string> FillTemplate(SettingsView& view);

// Runs on every press of Command1.
void ReadSettings(SettingsState& state, SettingsView& view, FileSystem& files);

// Runs on File > Save.
void WriteSettings(const SettingsState& state, SettingsView& view, FileSystem& files);

}  // namespace velkin
