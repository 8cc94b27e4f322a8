// Owner of a temporary file: removes it unless it was moved into place.
#pragma once

#include <string>
#include <utility>

namespace velkin {

// `Remove` is the platform's delete call, wrapped to one signature.
template <void (*Remove)(const std::string&)>
class TempFile {
  public:
    explicit TempFile(std::string path) : path_(std::move(path)) {}
    ~TempFile() {
        if (!kept_) {
            Remove(path_);
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    void Keep() { kept_ = true; }

  private:
    std::string path_;
    bool kept_ = false;
};

}  // namespace velkin
