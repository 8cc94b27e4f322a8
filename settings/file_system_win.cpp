// The file system on Windows, through the wide entry points: paths are UTF-8 inside.
#include <windows.h>

#include <cwctype>
#include <string_view>

#include "common/paths.h"
#include "settings/settings.h"
#include "win32/owner.h"
#include "win32/system_error.h"
#include "win32/temp_file.h"
#include "win32/text.h"

namespace velkin {

namespace {

// Velkin's temporary files: GetTempFileName's name of this prefix, a hexadecimal number of up to
// four digits and ".tmp". Only names of that shape are ever swept.
constexpr char kTempPrefix[] = "vlk";
constexpr std::wstring_view kTempExtension = L".tmp";

bool CloseFind(HANDLE find) {
    return ::FindClose(find) != FALSE;
}
using FindHandle = Owner<HANDLE, &CloseFind>;

// The attributes that belong to the file rather than to how it is stored.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The file that `path` reaches once links are followed, so that a link into another folder
// keeps working after the save. Systems before Vista have no such links.
std::string FinalPath(const std::string& path) {
    using GetFinalPath = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    const auto getFinalPath = reinterpret_cast<GetFinalPath>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
    if (getFinalPath == nullptr) {
        return path;
    }
    const Handle file(::CreateFileW(Wide(path).c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.Valid()) {
        return path;
    }
    // Too small a buffer gives the size needed, with its terminating zero.
    std::wstring name(MAX_PATH, L'\0');
    DWORD length = getFinalPath(file.Get(), &name[0], static_cast<DWORD>(name.size()), 0);
    if (length >= name.size()) {
        name.assign(length, L'\0');
        length = getFinalPath(file.Get(), &name[0], static_cast<DWORD>(name.size()), 0);
    }
    if (length == 0 || length >= name.size()) {
        return path;
    }
    name.resize(length);
    const std::string final = Utf8(name);
    if (final.rfind("\\\\?\\UNC\\", 0) == 0) {
        return "\\\\" + final.substr(8);
    }
    return final.rfind("\\\\?\\", 0) == 0 ? final.substr(4) : final;
}

// `name` in the folder of `path`.
std::wstring Beside(const std::string& path, std::wstring_view name) {
    return Wide(JoinPath(FolderOf(path), "")).append(name);
}

// Whether `text` begins with `start`, in either letter case (both ASCII).
bool StartsWithAnyCase(std::wstring_view text, std::wstring_view start) {
    if (text.size() < start.size()) {
        return false;
    }
    for (std::size_t i = 0; i < start.size(); ++i) {
        if (std::towlower(text[i]) != std::towlower(start[i])) {
            return false;
        }
    }
    return true;
}

bool IsTempName(std::wstring_view name) {
    const std::wstring prefix = Wide(kTempPrefix);
    if (name.size() <= prefix.size() + kTempExtension.size() ||
        name.size() > prefix.size() + 4 + kTempExtension.size() ||
        !StartsWithAnyCase(name, prefix) ||
        !StartsWithAnyCase(name.substr(name.size() - kTempExtension.size()), kTempExtension)) {
        return false;
    }
    for (std::size_t i = prefix.size(); i < name.size() - kTempExtension.size(); ++i) {
        if (!std::iswxdigit(name[i])) {
            return false;
        }
    }
    return true;
}

class WinFileSystem : public FileSystem {
  public:
    bool FileExists(const std::string& path) override {
        const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    Result ReadBytes(const std::string& path, std::string& bytes) override {
        const Handle file(::CreateFileW(Wide(path).c_str(), GENERIC_READ,
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

    Result WriteBytes(const std::string& path, const std::string& bytes,
                      ReadOnly readOnly) override {
        const std::string final = FinalPath(path);
        const std::wstring target = Wide(final);
        const std::string folderOf = FolderOf(final);
        const std::wstring folder = Wide(folderOf.empty() ? "." : folderOf);  // a bare name: here
        const DWORD attributes = ::GetFileAttributesW(target.c_str());
        const bool wasReadOnly =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
        // Checked here because a process with backup rights (Wine runs as root) would replace a
        // read-only file without a word.
        if (wasReadOnly && readOnly == ReadOnly::Refuse) {
            return LastError(ERROR_ACCESS_DENIED);
        }
        // GetTempFileNameW reports a missing folder as an invalid directory name; say it plainly.
        const DWORD folderAttributes = ::GetFileAttributesW(folder.c_str());
        if (folderAttributes == INVALID_FILE_ATTRIBUTES ||
            !(folderAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return LastError(ERROR_PATH_NOT_FOUND);
        }

        wchar_t name[MAX_PATH];
        if (::GetTempFileNameW(folder.c_str(), Wide(kTempPrefix).c_str(), 0, name) == 0) {
            return LastError();
        }
        TempFile temp(Utf8(name));
        Handle file(::CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
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
            !::SetFileAttributesW(name, attributes & kKeptAttributes)) {
            return LastError();
        }
        if (wasReadOnly) {
            return ReplaceReadOnly(temp, final, attributes);
        }
        if (!::MoveFileExW(name, target.c_str(),
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

    std::string DecodeText(std::string_view bytes) override { return AnsiToUtf8(bytes); }
    bool EncodeText(std::string_view text, std::string& bytes) override {
        return Utf8ToAnsi(text, bytes);
    }

    bool IsReadOnly(const std::string& path) override {
        const DWORD attributes = ::GetFileAttributesW(Wide(FinalPath(path)).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
               (attributes & FILE_ATTRIBUTE_READONLY);
    }

    Result RenameFile(const std::string& from, const std::string& to) override {
        if (!::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_WRITE_THROUGH)) {
            return LastError();
        }
        return Result::Success();
    }

    Result SetAside(const std::string& path, std::string& aside) override {
        wchar_t name[MAX_PATH];
        // Makes the name its own by creating an empty file of it, which the rename replaces.
        if (::GetTempFileNameW(Beside(path, L"").c_str(), Wide(kTempPrefix).c_str(), 0, name) ==
            0) {
            return LastError();
        }
        if (!::MoveFileExW(Wide(path).c_str(), name,
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const Result failure = LastError();
            ::DeleteFileW(name);
            return failure;
        }
        aside = Utf8(name);
        return Result::Success();
    }

    void RemoveLeftovers(const std::string& path) override {
        const std::string target = FinalPath(path);
        WIN32_FIND_DATAW found;
        const std::wstring pattern = Wide(kTempPrefix) + L"*" + std::wstring(kTempExtension);
        const FindHandle find(::FindFirstFileW(Beside(target, pattern).c_str(), &found));
        if (!find.Valid()) {
            return;
        }
        do {
            // The pattern also meets short 8.3 names; the long name decides.
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                IsTempName(found.cFileName)) {
                ::DeleteFileW(Beside(target, found.cFileName).c_str());
            }
        } while (::FindNextFileW(find.Get(), &found));
    }

  private:
    // A read-only file cannot be replaced until it is writable: it is made so for the move,
    // and the new file takes its place read-only. A failure puts the old flag back.
    static Result ReplaceReadOnly(TempFile& temp, const std::string& target, DWORD attributes) {
        const std::wstring name = Wide(temp.Path()), wideTarget = Wide(target);
        const DWORD kept = (attributes & kKeptAttributes) | FILE_ATTRIBUTE_READONLY;
        if (!::SetFileAttributesW(wideTarget.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
            return LastError();
        }
        // The other attributes first, while the file is writable: under Wine they are stored
        // in a way that a user who is not root cannot change on a read-only file.
        if (::SetFileAttributesW(name.c_str(), kept & ~FILE_ATTRIBUTE_READONLY) &&
            ::SetFileAttributesW(name.c_str(), kept) &&
            ::MoveFileExW(name.c_str(), wideTarget.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            temp.Keep();
            return Result::Success();
        }
        const Result failure = LastError();
        ::SetFileAttributesW(wideTarget.c_str(), attributes);
        ::SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);  // so that it can go
        return failure;
    }
};

}  // namespace

std::unique_ptr<FileSystem> MakeNativeFileSystem() {
    return std::make_unique<WinFileSystem>();
}

}  // namespace velkin
