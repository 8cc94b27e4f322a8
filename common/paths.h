// Paths and file names as UTF-8 text. In UTF-8 the byte 5C is a backslash wherever it stands;
// in some ANSI code pages it is also the second byte of a character (932's "表" is 95 5C), so
// these look at paths only once they are UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velkin {

inline bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

// The folder that holds `path`, without the separator after it; a root keeps its separator
// ("C:\", "\"), since "C:" alone means the drive's current folder. "" when `path` names no
// folder.
inline std::string FolderOf(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string_view::npos) {
        return "";
    }
    const bool root = slash == 0 || (slash == 2 && path[1] == ':');
    return std::string(path.substr(0, root ? slash + 1 : slash));
}

// `name` inside `folder`, with one separator between them; "" as the folder leaves `name`
// alone.
inline std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && !IsPathSeparator(path.back())) {
        path += '\\';
    }
    return path.append(name);
}

// Whether `text` ends with `end`, ASCII letters compared without case, as Windows compares
// file names such as "Environment.cfg" and ".exe".
inline bool EndsWithNoCase(std::string_view text, std::string_view end) {
    if (text.size() < end.size()) {
        return false;
    }
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    text.remove_prefix(text.size() - end.size());
    for (std::size_t i = 0; i < end.size(); ++i) {
        if (lower(text[i]) != lower(end[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace velkin
