// The file system on POSIX machines, where the unit tests run.
#include "platform.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "system_reason.h"
#include "temp_file.h"
#include "text_lines.h"

namespace velkin {

namespace {

// The core joins paths with backslashes.
std::string Native(const std::string& path) {
    std::string out = path;
    for (char& c : out) {
        if (c == '\\') {
            c = '/';
        }
    }
    return out;
}

FileResult Errno(int error) {
    return FileResult::Failure(TidyReason(std::strerror(error)));
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, so that a failing close is seen.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

void RemoveFile(const std::string& path) {
    ::unlink(path.c_str());
}
using ScratchFile = TempFile<RemoveFile>;

bool WriteAll(int fd, const std::string& bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

class PosixFileSystem : public FileSystem {
  public:
    bool FileExists(const std::string& path) override {
        struct stat st;
        return ::stat(Native(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }

    FileResult ReadLines(const std::string& path, std::vector<std::string>& lines) override {
        Descriptor file(::open(Native(path).c_str(), O_RDONLY));
        if (file.get() < 0) {
            return Errno(errno);
        }
        struct stat st;
        if (::fstat(file.get(), &st) != 0) {
            return Errno(errno);
        }
        std::string bytes;
        bytes.reserve(static_cast<std::size_t>(st.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return Errno(errno);
            }
            if (n == 0) {
                break;
            }
            bytes.append(buffer, static_cast<std::size_t>(n));
        }
        lines = SplitLines(bytes);
        return FileResult::Success();
    }

    FileResult WriteLines(const std::string& path, const std::vector<std::string>& lines) override {
        const std::string target = Native(path);
        const std::size_t slash = target.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash);

        // Tests run as root, who may write anything: a file without write bits counts as
        // read-only all the same.
        mode_t mode = 0644;
        struct stat st;
        if (::stat(target.c_str(), &st) == 0) {
            if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
                return Errno(EACCES);
            }
            mode = st.st_mode & 07777;
        }

        std::string name = folder + "/.velkin-XXXXXX";
        Descriptor temp(::mkstemp(&name[0]));
        if (temp.get() < 0) {
            return Errno(errno);
        }
        ScratchFile guard(name);
        if (::fchmod(temp.get(), mode) != 0 || !WriteAll(temp.get(), JoinLines(lines)) ||
            ::fsync(temp.get()) != 0) {
            return Errno(errno);
        }
        if (!temp.Close()) {
            return Errno(errno);
        }
        if (::rename(name.c_str(), target.c_str()) != 0) {
            return Errno(errno);
        }
        guard.Keep();

        // The new name must survive a crash too; a folder that cannot be synced is no failure.
        Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY));
        if (dir.get() >= 0) {
            ::fsync(dir.get());
        }
        return FileResult::Success();
    }
};

}  // namespace

std::unique_ptr<FileSystem> MakeNativeFileSystem() {
    return std::make_unique<PosixFileSystem>();
}

}  // namespace velkin
