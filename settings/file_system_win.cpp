// The file system on Windows, through the ANSI entry points.
#include <windows.h>

#include "win32/owner.h"
#include "settings/settings.h"
#include "win32/system_error.h"
#include "win32/temp_file.h"
#include "win32/text.h"

namespace velkin {

namespace {

// The attributes that belong to the file rather than to how it is stored.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

// The file that `path` reaches once links are followed, so that a link into another folder
// keeps working after the save. Systems before Vista have no such links.
std::string FinalPath(const std::string& path) {
    using GetFinalPath = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
    const auto getFinalPath = reinterpret_cast<GetFinalPath>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA")));
    if (getFinalPath == nullptr) {
        return path;
    }
    const Handle file(::CreateFileA(path.c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    char name[MAX_PATH * 2];
    const DWORD length = file.Valid() ? getFinalPath(file.Get(), name, sizeof name, 0) : 0;
    if (length == 0 || length >= sizeof name) {
        return path;
    }
    const std::string final(name, length);
    if (final.rfind("\\\\?\\UNC\\", 0) == 0) {
        return "\\\\" + final.substr(8);
    }
    return final.rfind("\\\\?\\", 0) == 0 ? final.substr(4) : final;
}

class WinFileSystem : public FileSystem {
  public:
    bool FileExists(const std::string& path) override {
        const DWORD attributes = ::GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    Result ReadBytes(const std::string& path, std::string& bytes) override {
        const Handle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) {
            return LastError();
        }
        LARGE_INTEGER size;
        if (!::GetFileSizeEx(file.Get(), &size)) {
            return LastError();
        }
        bytes.clear();
        if (static_cast<unsigned long long>(size.QuadPart) < bytes.max_size()) {
            bytes.reserve(static_cast<std::size_t>(size.QuadPart));
        }
        char buffer[65536];
        for (DWORD got = 1; got != 0;) {
            if (!::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) {
                return LastError();
            }
            bytes.append(buffer, got);
        }
        return Result::Success();
    }

    Result WriteBytes(const std::string& path, const std::string& bytes) override {
        const std::string target = FinalPath(path);
        const std::string folder = FolderOf(target);
        const DWORD attributes = ::GetFileAttributesA(target.c_str());
        // Checked here because a process with backup rights (Wine runs as root) would replace a
        // read-only file without a word.
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
        TempFile temp(name);
        Handle file(::CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) {
            return LastError();
        }
        for (std::size_t done = 0; done < bytes.size();) {
            const std::size_t chunk = bytes.size() - done;
            const DWORD want = chunk > 0x10000000 ? 0x10000000 : static_cast<DWORD>(chunk);
            DWORD wrote = 0;
            if (!::WriteFile(file.Get(), bytes.data() + done, want, &wrote, nullptr)) {
                return LastError();
            }
            done += wrote;
        }
        if (!::FlushFileBuffers(file.Get()) || !file.CloseNow()) {
            return LastError();
        }
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kKeptAttributes) != 0 &&
            !::SetFileAttributesA(name, attributes & kKeptAttributes)) {
            return LastError();
        }
        if (!::MoveFileExA(name, target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return LastError();
        }
        temp.Keep();
        return Result::Success();
    }

    Result RemoveFile(const std::string& path) override {
        if (::DeleteFileW(Wide(path).c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND) {
            return Result::Success();
        }
        return LastError();
    }
};

}  // namespace

std::unique_ptr<FileSystem> MakeNativeFileSystem() {
    return std::make_unique<WinFileSystem>();
}

}  // namespace velkin
