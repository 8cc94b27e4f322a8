// Module General: reads single text values from the registry.
#pragma once

#include <cstdint>
#include <string>

#include "common/ports.h"

namespace velkin {
namespace General {

// The buffer a value is read into, in characters; its data must fit with the terminating zero.
constexpr std::uint32_t kBufferSize = 255;

// The predefined root-key handle of one of the seven root-key names, as its 32-bit value; 0 for
// any other name.
std::uint32_t RootKeyHandle(const std::string& name);

// Splits the root key off `keyPath`, or shows "Incorrect Format:" and leaves `rootKey` 0.
void SplitRootKey(std::string& keyPath, std::uint32_t& rootKey, View& view);

// The text the registry stored, as UTF-8: without the terminating zero, without blanks in front;
// blanks at the end are kept.
std::string ShapeValue(std::string text);

// The value's text, "Error" when it cannot be read, "" when the key path names no root key.
// Reads the 32-bit view whatever the build's word size.
std::string ReadRegistryString(const std::string& keyPath, const std::string& valueName,
                               View& view);

}  // namespace General
}  // namespace velkin
