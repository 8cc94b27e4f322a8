// The narrow interfaces through which the portable core reaches the window and the machine.
// The window implements them with Win32; the unit tests plug in fakes.
#pragma once

#include <string>
#include <string_view>

#include "common/result.h"

namespace velkin {

enum class Icon { None, Warning, Error };

// What the program's operations need from the window. Every box carries the application
// title; every failure reaches the user through ShowMessage with Icon::Error.
class View {
  public:
    virtual ~View() = default;
    // Modal box with one OK button.
    virtual void ShowMessage(const std::string& text, Icon icon) = 0;
    // Modal box with Yes (the default) and No, no icon; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // Modal input box; returns "" on Cancel.
    virtual std::string AskForText(const std::string& prompt) = 0;
    virtual bool GetCheck(int n) = 0;  // CheckN
    virtual void SetCheck(int n, bool checked) = 0;
    virtual std::string GetText(int n) = 0;  // TextN
    virtual void SetText(int n, const std::string& text) = 0;
    // The caption of the label of TextN's row, such as "Gamma"; Text1 and Text2 share one.
    virtual std::string ValueName(int n) = 0;
    virtual void SetTitle(const std::string& title) = 0;
    virtual void SetMarker(const std::string& caption) = 0;  // Label28
};

// Files hold 8-bit text in the system's ANSI code page; strings hold their bytes unchanged, and
// only text shown to the user is converted to and from UTF-8.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // A failed test counts as "not there"; a folder is not a file.
    virtual bool FileExists(const std::string& path) = 0;
    virtual Result ReadBytes(const std::string& path, std::string& bytes) = 0;
    // Replaces the file in one step, through a temporary file beside it: on failure the old
    // file is untouched and no temporary file remains. The file keeps its attributes, and a
    // link stays a link: the file it points to is the one replaced.
    virtual Result WriteBytes(const std::string& path, const std::string& bytes) = 0;
    // Removes a file; one that is not there counts as removed.
    virtual Result RemoveFile(const std::string& path) = 0;
    // The UTF-8 text of bytes in the code page.
    virtual std::string DecodeText(std::string_view bytes) = 0;
    // The code page's bytes of UTF-8 text; false when a character has no place in it.
    virtual bool EncodeText(std::string_view text, std::string& bytes) = 0;
};

}  // namespace velkin
