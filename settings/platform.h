// The narrow interfaces through which the portable core reaches the window and the machine.
// The window implements them with Win32; the unit tests plug in fakes.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace velkin {

enum class Icon { None, Warning, Error };

// The outcome of a file operation. On failure, `reason` holds the system's own text
// (for example "Access is denied."), ready to be shown to the user.
struct FileResult {
    bool ok = true;
    std::string reason;

    static FileResult Success() { return {}; }
    static FileResult Failure(std::string why) { return {false, std::move(why)}; }
};

// Files are 8-bit text in the system code page; strings hold their bytes unchanged.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // A failed test counts as "not there".
    virtual bool FileExists(const std::string& path) = 0;
    // Reads the whole file and splits it into lines (CR LF, lone LF and lone CR each end one).
    virtual FileResult ReadLines(const std::string& path, std::vector<std::string>& lines) = 0;
    // Writes every line followed by CR LF to a temporary file beside `path`, then moves it over
    // `path` in one step. On failure the old file is untouched and no temporary file remains.
    virtual FileResult WriteLines(const std::string& path,
                                  const std::vector<std::string>& lines) = 0;
};

// The file system of the machine the program runs on (Win32 or POSIX).
std::unique_ptr<FileSystem> MakeNativeFileSystem();

}  // namespace velkin
