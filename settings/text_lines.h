// Line splitting and joining of 8-bit text files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velkin {

// CR LF, a lone LF and a lone CR each end a line. A last line without an end is still a line;
// a file that ends with a line end has no empty line after it. Bytes are kept as they are.
std::vector<std::string> SplitLines(std::string_view bytes);

// Every line followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace velkin
