// The benchmark's own file system on Linux, working as the program's does on Windows: each
// write goes to a temporary file beside the target, is synced, and renamed over it.
#pragma once

#include "common/ports.h"

namespace velkin {

class BenchFileSystem : public FileSystem {
  public:
    bool FileExists(const std::string& path) override;
    Result ReadBytes(const std::string& path, std::string& bytes) override;
    Result WriteBytes(const std::string& path, const std::string& bytes,
                      ReadOnly readOnly) override;
    Result RemoveFile(const std::string& path) override;
    bool IsReadOnly(const std::string& path) override;
    Result RenameFile(const std::string& from, const std::string& to) override;
    Result SetAside(const std::string& path, std::string& aside) override;
    void RemoveLeftovers(const std::string& path) override;
    // The bytes as they are: the benchmark times the core, not a code page.
    std::string DecodeText(std::string_view bytes) override { return std::string(bytes); }
    bool EncodeText(std::string_view text, std::string& bytes) override {
        bytes = text;
        return true;
    }
};

}  // namespace velkin
