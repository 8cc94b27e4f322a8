// Module General: reads single text values from the registry through its ANSI interface.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace velkin {

// The registry as the reader needs it. Results are Win32 error codes: 0 is success.
class Registry {
  public:
    using Key = std::uintptr_t;
    virtual ~Registry() = default;
    virtual long Open(std::uint32_t root, const std::string& subKey, Key& key) = 0;
    // `size` holds the buffer's size on entry and the bytes stored on return.
    virtual long Query(Key key, const std::string& valueName, char* data, std::uint32_t& size) = 0;
    virtual void Close(Key key) = 0;
};

// The registry of this machine, in the 32-bit view whatever the build's word size.
std::unique_ptr<Registry> MakeNativeRegistry();

namespace General {

// The predefined root-key handles, as 32-bit values.
constexpr std::uint32_t kClassesRoot = 0x80000000u;
constexpr std::uint32_t kCurrentUser = 0x80000001u;
constexpr std::uint32_t kLocalMachine = 0x80000002u;
constexpr std::uint32_t kUsers = 0x80000003u;
constexpr std::uint32_t kPerformanceData = 0x80000004u;
constexpr std::uint32_t kCurrentConfig = 0x80000005u;
constexpr std::uint32_t kDynData = 0x80000006u;

// Shows the "Incorrect Format:" message.
class FormatReport {
  public:
    virtual ~FormatReport() = default;
    virtual void ShowMessage(const std::string& text) = 0;
};

std::uint32_t RootKeyHandle(const std::string& name);
void SplitRootKey(std::string& keyPath, std::uint32_t& rootKey, FormatReport& report);
// The value's text, "Error" when it cannot be read, "" when the key path names no root key.
std::string ReadRegistryString(const std::string& keyPath, const std::string& valueName,
                               Registry& registry, FormatReport& report);

}  // namespace General
}  // namespace velkin
