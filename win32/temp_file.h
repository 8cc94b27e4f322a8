// A temporary file that is removed again unless it was moved into place.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "win32/text.h"

namespace velkin {

class TempFile {
  public:
    explicit TempFile(std::string path) : path_(std::move(path)) {}
    ~TempFile() {
        if (!kept_) {
            ::DeleteFileW(Wide(path_).c_str());
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& Path() const { return path_; }
    void Keep() { kept_ = true; }

  private:
    std::string path_;
    bool kept_ = false;
};

}  // namespace velkin
