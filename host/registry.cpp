// Module General: key-path splitting and the shaping of a value read through the ANSI interface.
#include "registry.h"

#include <algorithm>

namespace velkin {
namespace General {
namespace {

struct RootKeyName {
    const char* name;
    std::uint32_t handle;
};

// Tried in this order; names are compared exactly.
constexpr RootKeyName kRootKeys[] = {
    {"HKEY_CLASSES_ROOT", kClassesRoot},
    {"HKEY_CURRENT_USER", kCurrentUser},
    {"HKEY_LOCAL_MACHINE", kLocalMachine},
    {"HKEY_USERS", kUsers},
    {"HKEY_PERFORMANCE_DATA", kPerformanceData},
    {"HKEY_CURRENT_CONFIG", kCurrentConfig},
    {"HKEY_DYN_DATA", kDynData},
};

// The buffer the value is read into; its data must fit with the terminating zero.
constexpr std::uint32_t kBufferSize = 255;

const char kError[] = "Error";

// Closes an opened key on every way out of the read.
class OpenKey {
  public:
    OpenKey(Registry& registry, Registry::Key key) : registry_(registry), key_(key) {}
    ~OpenKey() { registry_.Close(key_); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    Registry::Key get() const { return key_; }

  private:
    Registry& registry_;
    Registry::Key key_;
};

// The text of the bytes the registry stored: the terminating zero, if any, is not part of it,
// and blanks in front are dropped while blanks at the end are kept.
std::string ShapeValue(const char* data, std::uint32_t size) {
    std::string text(data, std::min(size, kBufferSize));
    if (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    const std::string::size_type first = text.find_first_not_of(' ');
    text.erase(0, first == std::string::npos ? text.size() : first);
    return text;
}

}  // namespace

std::uint32_t RootKeyHandle(const std::string& name) {
    for (const RootKeyName& root : kRootKeys) {
        if (name == root.name) {
            return root.handle;
        }
    }
    return 0;
}

void SplitRootKey(std::string& keyPath, std::uint32_t& rootKey, FormatReport& report) {
    rootKey = 0;
    if (keyPath.compare(0, 5, "HKEY_") != 0 || (!keyPath.empty() && keyPath.back() == '\\')) {
        report.ShowMessage("Incorrect Format:\n\n" + keyPath);
        return;
    }
    const std::string::size_type slash = keyPath.find('\\');
    if (slash == std::string::npos) {
        rootKey = RootKeyHandle(keyPath);
        keyPath.clear();
        return;
    }
    rootKey = RootKeyHandle(keyPath.substr(0, slash));
    keyPath.erase(0, slash + 1);
}

std::string ReadRegistryString(const std::string& keyPath, const std::string& valueName,
                               Registry& registry, FormatReport& report) {
    std::string subKey = keyPath;
    std::uint32_t rootKey = 0;
    SplitRootKey(subKey, rootKey, report);
    if (rootKey == 0) {
        return "";
    }
    Registry::Key handle = 0;
    if (registry.Open(rootKey, subKey, handle) != 0) {
        return kError;
    }
    const OpenKey key(registry, handle);
    std::string buffer(kBufferSize, ' ');
    std::uint32_t size = kBufferSize;
    if (registry.Query(key.get(), valueName, &buffer[0], size) != 0) {
        return kError;
    }
    return ShapeValue(buffer.data(), size);
}

}  // namespace General
}  // namespace velkin
