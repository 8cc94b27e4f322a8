// The file system on Windows, through the ANSI entry points.
#include "platform.h"

#include <windows.h>

#include "handle_win.h"
#include "system_reason.h"
#include "temp_file.h"
#include "text_lines.h"

namespace velkin {

namespace {

FileResult LastError(DWORD error) {
    return FileResult::Failure(SystemErrorText(error));
}

FileResult LastError() {
    return LastError(::GetLastError());
}

void RemoveFile(const std::string& path) {
    ::DeleteFileA(path.c_str());
}
using ScratchFile = TempFile<RemoveFile>;

class WinFileSystem : public FileSystem {
  public:
    bool FileExists(const std::string& path) override {
        const DWORD attributes = ::GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    FileResult ReadLines(const std::string& path, std::vector<std::string>& lines) override {
        Handle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            return LastError();
        }
        LARGE_INTEGER size;
        if (!::GetFileSizeEx(file.get(), &size)) {
            return LastError();
        }
        std::string bytes;
        if (static_cast<unsigned long long>(size.QuadPart) < bytes.max_size()) {
            bytes.reserve(static_cast<std::size_t>(size.QuadPart));
        }
        char buffer[65536];
        for (;;) {
            DWORD got = 0;
            if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
                return LastError();
            }
            if (got == 0) {
                break;
            }
            bytes.append(buffer, got);
        }
        lines = SplitLines(bytes);
        return FileResult::Success();
    }

    FileResult WriteLines(const std::string& path, const std::vector<std::string>& lines) override {
        const std::size_t slash = path.find_last_of("\\/");
        const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);

        // Checked here because a process with backup rights (Wine runs as root) would replace a
        // read-only file without a word.
        const DWORD attributes = ::GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            return LastError(ERROR_ACCESS_DENIED);
        }

        // GetTempFileNameA reports a missing folder as an invalid directory name; say it plainly.
        const DWORD folderAttributes = ::GetFileAttributesA(folder.c_str());
        if (folderAttributes == INVALID_FILE_ATTRIBUTES ||
            !(folderAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return LastError(ERROR_PATH_NOT_FOUND);
        }

        char name[MAX_PATH];
        if (::GetTempFileNameA(folder.c_str(), "vlk", 0, name) == 0) {
            return LastError();
        }
        ScratchFile guard(name);
        {
            Handle temp(::CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!temp.valid()) {
                return LastError();
            }
            const std::string bytes = JoinLines(lines);
            std::size_t done = 0;
            while (done < bytes.size()) {
                const std::size_t chunk = bytes.size() - done;
                const DWORD want = chunk > 0x10000000 ? 0x10000000 : static_cast<DWORD>(chunk);
                DWORD wrote = 0;
                if (!::WriteFile(temp.get(), bytes.data() + done, want, &wrote, nullptr)) {
                    return LastError();
                }
                done += wrote;
            }
            if (!::FlushFileBuffers(temp.get())) {
                return LastError();
            }
            if (!temp.Close()) {
                return LastError();
            }
        }
        if (!::MoveFileExA(name, path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return LastError();
        }
        guard.Keep();
        return FileResult::Success();
    }
};

}  // namespace

std::unique_ptr<FileSystem> MakeNativeFileSystem() {
    return std::make_unique<WinFileSystem>();
}

}  // namespace velkin
