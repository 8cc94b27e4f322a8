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
    // Modal box with Yes (the default) and No; true for Yes.
    virtual bool AskYesNo(const std::string& text, Icon icon = Icon::None) = 0;
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

// What WriteBytes does with a read-only file.
enum class ReadOnly {
    Refuse,  // fails with the system's "Access is denied."
    Keep,    // replaces it, and the new file is read-only again
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
    virtual Result WriteBytes(const std::string& path, const std::string& bytes,
                              ReadOnly readOnly) = 0;
    // Removes a file; one that is not there counts as removed.
    virtual Result RemoveFile(const std::string& path) = 0;
    // The UTF-8 text of bytes in the code page.
    virtual std::string DecodeText(std::string_view bytes) = 0;
    // The code page's bytes of UTF-8 text; false when a character has no place in it.
    virtual bool EncodeText(std::string_view text, std::string& bytes) = 0;
    // An existing file that is marked read-only.
    virtual bool IsReadOnly(const std::string& path) = 0;
    // Renames a file within its folder; fails if `to` is there already.
    virtual Result RenameFile(const std::string& from, const std::string& to) = 0;
    // Renames a file to a new temporary name beside it, given in `aside`: a save cut short
    // leaves it for RemoveLeftovers.
    virtual Result SetAside(const std::string& path, std::string& aside) = 0;
    // Removes the temporary files that writes to `path` cut short left beside it, and nothing
    // else; one that cannot be removed (another save's, still open) stays.
    virtual void RemoveLeftovers(const std::string& path) = 0;
};

}  // namespace velkin
