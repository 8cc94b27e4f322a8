#include "bench/bench_file_system.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velkin {

namespace {

// The core joins paths with backslashes.
std::string Native(std::string path) {
    for (char& c : path) {
        c = c == '\\' ? '/' : c;
    }
    return path;
}

// The benchmark's temporary files, and all that its sweep removes.
constexpr char kTempPrefix[] = ".velkin.";

Result Errno() {
    return Result::Failure(std::strerror(errno));
}

}  // namespace

bool BenchFileSystem::FileExists(const std::string& path) {
    struct stat st;
    return ::stat(Native(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

Result BenchFileSystem::ReadBytes(const std::string& path, std::string& bytes) {
    std::ifstream file(Native(path), std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(file), {});
    return file.is_open() && !file.bad() ? Result::Success() : Errno();
}

Result BenchFileSystem::WriteBytes(const std::string& path, const std::string& bytes,
                                   ReadOnly readOnly) {
    const std::string target = Native(path);
    const std::string folder = target.substr(0, target.rfind('/') + 1);
    struct stat old;
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (existed && !(old.st_mode & S_IWUSR) && readOnly == ReadOnly::Refuse) {
        errno = EACCES;
        return Errno();
    }
    std::string temp = folder + kTempPrefix + "XXXXXX";
    const int fd = ::mkstemp(&temp[0]);
    if (fd < 0) {
        return Errno();
    }
    const bool written = ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size()) &&
                         (!existed || ::fchmod(fd, old.st_mode & 07777) == 0) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written || ::rename(temp.c_str(), target.c_str()) != 0) {
        const Result failure = Errno();
        ::unlink(temp.c_str());
        return failure;
    }
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return Result::Success();
}

Result BenchFileSystem::RemoveFile(const std::string& path) {
    return std::remove(Native(path).c_str()) == 0 || errno == ENOENT ? Result::Success() : Errno();
}

bool BenchFileSystem::IsReadOnly(const std::string& path) {
    struct stat st;
    return ::stat(Native(path).c_str(), &st) == 0 && S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR);
}

// A second name, then the first one gone: fails where `to` is taken, as on Windows.
Result BenchFileSystem::RenameFile(const std::string& from, const std::string& to) {
    if (::link(Native(from).c_str(), Native(to).c_str()) != 0) {
        return Errno();
    }
    return ::unlink(Native(from).c_str()) == 0 ? Result::Success() : Errno();
}

Result BenchFileSystem::SetAside(const std::string& path, std::string& aside) {
    const std::string target = Native(path);
    std::string temp = target.substr(0, target.rfind('/') + 1) + kTempPrefix + "XXXXXX";
    const int fd = ::mkstemp(&temp[0]);
    if (fd < 0) {
        return Errno();
    }
    ::close(fd);
    if (::rename(target.c_str(), temp.c_str()) != 0) {
        const Result failure = Errno();
        ::unlink(temp.c_str());
        return failure;
    }
    aside = temp;
    return Result::Success();
}

void BenchFileSystem::RemoveLeftovers(const std::string& path) {
    const std::string target = Native(path);
    const std::string folder = target.substr(0, target.rfind('/') + 1);
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, kTempPrefix, std::strlen(kTempPrefix)) == 0) {
            ::unlink((folder + entry->d_name).c_str());
        }
    }
    ::closedir(dir);
}

}  // namespace velkin
