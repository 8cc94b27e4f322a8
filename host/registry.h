// Module General: reads single text values from the registry through its ANSI interface.
#pragma once

#include <cstdint>
#include <string>

#include "platform.h"

namespace velkin {
namespace General {

// The predefined root-key handles, as 32-bit values.
constexpr std::uint32_t kClassesRoot = 0x80000000u;
constexpr std::uint32_t kCurrentUser = 0x80000001u;
constexpr std::uint32_t kLocalMachine = 0x80000002u;
constexpr std::uint32_t kUsers = 0x80000003u;
constexpr std::uint32_t kPerformanceData = 0x80000004u;
constexpr std::uint32_t kCurrentConfig = 0x80000005u;
constexpr std::uint32_t kDynData = 0x80000006u;

// The buffer a value is read into; its data must fit with the terminating zero.
constexpr std::uint32_t kBufferSize = 255;

std::uint32_t RootKeyHandle(const std::string& name);

// Splits the root key off `keyPath`, or shows "Incorrect Format:" and leaves `rootKey` 0.
void SplitRootKey(std::string& keyPath, std::uint32_t& rootKey, View& view);

// The text of the `size` bytes the registry stored: without the terminating zero, without
// blanks in front; blanks at the end are kept.
std::string ShapeValue(const char* data, std::uint32_t size);

// The value's text, "Error" when it cannot be read, "" when the key path names no root key.
// Reads the 32-bit view whatever the build's word size.
std::string ReadRegistryString(const std::string& keyPath, const std::string& valueName,
                               View& view);

}  // namespace General
}  // namespace velkin
