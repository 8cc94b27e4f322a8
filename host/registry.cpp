// Module General: key-path splitting and the shaping of a value read.
#include "host/registry.h"

#include <iterator>

namespace velkin {
namespace General {
namespace {

// Tried in this order; names are compared exactly. Each names the predefined handle 0x80000000
// plus its place here.
const char* const kRootKeyNames[] = {
    "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};
constexpr std::uint32_t kFirstRootKey = 0x80000000u;

}  // namespace

std::uint32_t RootKeyHandle(const std::string& name) {
    for (std::uint32_t i = 0; i < std::size(kRootKeyNames); ++i) {
        if (name == kRootKeyNames[i]) {
            return kFirstRootKey + i;
        }
    }
    return 0;
}

void SplitRootKey(std::string& keyPath, std::uint32_t& rootKey, View& view) {
    rootKey = 0;
    if (keyPath.compare(0, 5, "HKEY_") != 0 || (!keyPath.empty() && keyPath.back() == '\\')) {
        view.ShowMessage("Incorrect Format:\n\n" + keyPath, Icon::None);
        return;
    }
    const std::string::size_type slash = keyPath.find('\\');
    rootKey = RootKeyHandle(keyPath.substr(0, slash));
    keyPath.erase(0, slash == std::string::npos ? keyPath.size() : slash + 1);
}

std::string ShapeValue(std::string text) {
    if (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    const std::string::size_type first = text.find_first_not_of(' ');
    text.erase(0, first == std::string::npos ? text.size() : first);
    return text;
}

}  // namespace General
}  // namespace velkin
