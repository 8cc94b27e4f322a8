// Checks a built Velkin.exe as it would ship: its version record as Windows reads it, and
// that it needs no DLL beyond those that come with Windows.
// Usage: version_check PATH-TO-EXE (a Unix path under Wine is taken as Z:).
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

int failures = 0;

void Check(bool ok, const std::string& what, const std::string& expected, const std::string& got) {
    if (ok) {
        std::printf("ok: %s\n", what.c_str());
        return;
    }
    std::printf("FAIL: %s: expected %s, got %s\n", what.c_str(), expected.c_str(), got.c_str());
    ++failures;
}

// Wine shows the Unix root as drive Z:.
std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
    }
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// ---- the version record ----

std::string QueryString(const std::vector<char>& block, const std::string& subBlock, bool& found) {
    void* value = nullptr;
    UINT length = 0;
    found = VerQueryValueA(block.data(), subBlock.c_str(), &value, &length) && value != nullptr;
    if (!found) {
        return "";
    }
    // The length counts the terminating NUL; some writers leave it out.
    std::string text(static_cast<const char*>(value), length);
    const std::size_t nul = text.find('\0');
    return nul == std::string::npos ? text : text.substr(0, nul);
}

void CheckVersionRecord(const std::string& exe) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &handle);
    Check(size != 0, "version record present", "a record",
          "none (error " + std::to_string(GetLastError()) + ")");
    if (size == 0) {
        return;
    }
    std::vector<char> block(size);
    const bool read = GetFileVersionInfoA(exe.c_str(), 0, size, block.data());
    Check(read, "version record read", "success", "error " + std::to_string(GetLastError()));
    if (!read) {
        return;
    }

    struct Translation {
        WORD language;
        WORD codePage;
    };
    void* value = nullptr;
    UINT length = 0;
    const bool haveTranslation =
        VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length) &&
        length >= sizeof(Translation);
    Check(haveTranslation, "\\VarFileInfo\\Translation", "a language and code page", "none");
    if (!haveTranslation) {
        return;
    }
    const Translation translation = *static_cast<const Translation*>(value);
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04x%04x\\", translation.language,
                  translation.codePage);

    struct Expected {
        const char* name;
        const char* text;
    };
    const Expected expected[] = {
        {"FileVersion", "2.00.0001"},
        {"ProductVersion", "2.00.0001"},
        {"InternalName", "Velkin"},
        {"OriginalFilename", "Velkin.exe"},
    };
    for (const Expected& entry : expected) {
        bool found = false;
        const std::string got = QueryString(block, prefix + std::string(entry.name), found);
        Check(found && got == entry.text, entry.name, std::string("\"") + entry.text + "\"",
              found ? "\"" + got + "\"" : "no such value");
    }
    for (const char* name : {"CompanyName", "ProductName"}) {
        bool found = false;
        const std::string got = QueryString(block, prefix + std::string(name), found);
        Check(found && !got.empty(), name, "a text", found ? "an empty text" : "no such value");
    }
}

// ---- the import table, read from the file's bytes ----

class PeFile {
  public:
    explicit PeFile(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}

    bool Has(std::size_t offset, std::size_t size) const {
        return offset <= bytes_.size() && size <= bytes_.size() - offset;
    }
    std::uint32_t U16(std::size_t offset) const {
        return Has(offset, 2) ? bytes_[offset] | bytes_[offset + 1] << 8 : 0;
    }
    std::uint32_t U32(std::size_t offset) const {
        return Has(offset, 4) ? U16(offset) | U16(offset + 2) << 16 : 0;
    }
    // The file offset of a relative virtual address, or 0 when no section holds it.
    std::size_t Offset(std::uint32_t rva) const {
        for (std::size_t i = 0; i < sectionCount_; ++i) {
            const std::size_t header = sections_ + i * 40;
            const std::uint32_t start = U32(header + 12);
            const std::uint32_t span = std::max(U32(header + 8), U32(header + 16));
            if (rva >= start && rva - start < span) {
                const std::size_t offset = U32(header + 20) + (rva - start);
                return Has(offset, 1) ? offset : 0;
            }
        }
        return 0;
    }
    std::string StringAt(std::uint32_t rva) const {
        std::size_t offset = Offset(rva);
        std::string text;
        while (offset != 0 && offset < bytes_.size() && bytes_[offset] != 0 && text.size() < 256) {
            text += static_cast<char>(bytes_[offset++]);
        }
        return text;
    }

    // Reads the headers; returns what is wrong, or "" when the file is a PE image.
    std::string Parse() {
        if (!Has(0, 64) || U16(0) != 0x5A4D) {
            return "no MZ header";
        }
        const std::size_t pe = U32(0x3C);
        if (!Has(pe, 24) || U32(pe) != 0x00004550) {
            return "no PE signature";
        }
        sectionCount_ = U16(pe + 6);
        const std::size_t optional = pe + 24;
        const std::uint32_t magic = U16(optional);
        std::size_t directories = 0;
        if (magic == 0x10B) {
            directories = optional + 96;
            directoryCount_ = U32(optional + 92);
        } else if (magic == 0x20B) {
            directories = optional + 112;
            directoryCount_ = U32(optional + 108);
        } else {
            return "an optional header of unknown kind";
        }
        directories_ = directories;
        sections_ = optional + U16(pe + 20);
        if (!Has(sections_, sectionCount_ * 40)) {
            return "a section table past the end of the file";
        }
        return "";
    }

    std::uint32_t DirectoryRva(std::size_t index) const {
        return index < directoryCount_ ? U32(directories_ + index * 8) : 0;
    }

  private:
    std::vector<unsigned char> bytes_;
    std::size_t sectionCount_ = 0;
    std::size_t sections_ = 0;
    std::size_t directories_ = 0;
    std::size_t directoryCount_ = 0;
};

// Names of the DLLs in the import and delay-import tables; `problem` says what was unreadable.
std::vector<std::string> ImportedDlls(const PeFile& pe, std::string& problem) {
    std::vector<std::string> names;
    const std::uint32_t imports = pe.DirectoryRva(1);
    if (imports != 0) {
        const std::size_t table = pe.Offset(imports);
        if (table == 0) {
            problem = "an import table outside every section";
            return names;
        }
        for (std::size_t entry = table; pe.Has(entry, 20); entry += 20) {
            const std::uint32_t name = pe.U32(entry + 12);
            if (name == 0 && pe.U32(entry) == 0 && pe.U32(entry + 16) == 0) {
                break;
            }
            names.push_back(pe.StringAt(name));
        }
    }
    const std::uint32_t delayed = pe.DirectoryRva(13);
    if (delayed != 0) {
        const std::size_t table = pe.Offset(delayed);
        for (std::size_t entry = table; table != 0 && pe.Has(entry, 32); entry += 32) {
            const std::uint32_t name = pe.U32(entry + 4);
            if (name == 0) {
                break;
            }
            names.push_back(pe.StringAt(name));
        }
    }
    return names;
}

void CheckImports(const std::string& exe) {
    // What every Windows from XP on ships; msvcrt is the C runtime that MinGW links against.
    const std::set<std::string> system = {
        "kernel32.dll", "user32.dll",   "gdi32.dll",    "advapi32.dll", "shell32.dll",
        "ole32.dll",    "oleaut32.dll", "comctl32.dll", "comdlg32.dll", "msvcrt.dll",
    };
    std::ifstream in(exe, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    Check(!bytes.empty(), "exe readable", "its bytes", "nothing from " + exe);
    if (bytes.empty()) {
        return;
    }
    PeFile pe(std::move(bytes));
    const std::string wrong = pe.Parse();
    Check(wrong.empty(), "PE headers", "a PE image", wrong);
    if (!wrong.empty()) {
        return;
    }
    std::string problem;
    const std::vector<std::string> dlls = ImportedDlls(pe, problem);
    Check(problem.empty(), "import table", "a readable table", problem);
    Check(!dlls.empty(), "imported DLLs", "at least kernel32.dll", "none");
    for (const std::string& dll : dlls) {
        Check(system.count(Lower(dll)) == 1, "import " + dll, "a DLL that ships with Windows", dll);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("usage: version_check PATH-TO-EXE\n");
        return 2;
    }
    const std::string exe = WindowsPath(argv[1]);
    std::printf("checking %s\n", exe.c_str());
    CheckVersionRecord(exe);
    CheckImports(exe);
    std::printf("%d failure(s)\n", failures);
    return failures == 0 ? 0 : 1;
}
