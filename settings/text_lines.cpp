// The text of settings files and of the folder the user types: lines, byte-order marks,
// quotes and blanks.
#include "settings/settings.h"

#include "common/paths.h"

namespace velkin {

namespace {

const std::string_view kUtf8Mark = "\xEF\xBB\xBF";
const std::string_view kUtf16Marks[] = {"\xFF\xFE", "\xFE\xFF"};

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

}  // namespace

Result SplitSettingsText(std::string_view bytes, std::vector<std::string>& lines) {
    lines.clear();
    for (std::string_view mark : kUtf16Marks) {
        if (StartsWith(bytes, mark)) {
            return Result::Failure(
                "It is Unicode (UTF-16) text, not ANSI text. Save it as ANSI text in your "
                "editor, then read it again.");
        }
    }
    // Notepad may put a UTF-8 mark in front; it is not part of the first key.
    if (StartsWith(bytes, kUtf8Mark)) {
        bytes.remove_prefix(kUtf8Mark.size());
    }
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
    return Result::Success();
}

std::uint64_t ContentHash(std::string_view bytes) {
    // FNV-1a: plenty to notice an edit, and no table to carry.
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    return hash;
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

std::string FolderFromAnswer(std::string answer) {
    // What Explorer's "Copy as path" gives, or a paste with blanks around it.
    const char* const kStrip = " \t\"";
    const std::string::size_type first = answer.find_first_not_of(kStrip);
    if (first == std::string::npos) {
        return "";
    }
    answer = answer.substr(first, answer.find_last_not_of(kStrip) - first + 1);
    if (EndsWithNoCase(answer, kSettingsFileName)) {
        answer.erase(answer.size() - kSettingsFileName.size());
    }
    return answer;
}

}  // namespace velkin
