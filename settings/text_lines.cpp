// Splitting and joining of 8-bit text, linear in the size of the text.
#include "text_lines.h"

namespace velkin {

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    const std::size_t size = bytes.size();
    for (std::size_t i = 0; i < size; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            continue;
        }
        lines.emplace_back(bytes.substr(start, i - start));
        if (c == '\r' && i + 1 < size && bytes[i + 1] == '\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < size) {
        lines.emplace_back(bytes.substr(start));
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::size_t total = 0;
    for (const std::string& line : lines) {
        total += line.size() + 2;
    }
    std::string bytes;
    bytes.reserve(total);
    for (const std::string& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

}  // namespace velkin
