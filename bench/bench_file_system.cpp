#include "bench/bench_file_system.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

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

Result BenchFileSystem::WriteBytes(const std::string& path, const std::string& bytes) {
    const std::string target = Native(path);
    const std::string folder = target.substr(0, target.rfind('/') + 1);
    std::string temp = folder + ".velkin.XXXXXX";
    const int fd = ::mkstemp(&temp[0]);
    if (fd < 0) {
        return Errno();
    }
    const bool written =
        ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size()) && ::fsync(fd) == 0;
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
    return std::remove(path.c_str()) == 0 || errno == ENOENT ? Result::Success() : Errno();
}

}  // namespace velkin
