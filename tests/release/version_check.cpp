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

void Expect(const std::string& what, const std::string& expected, const std::string& got) {
    const bool ok = expected == got;
    std::printf(ok ? "ok: %s: %s\n" : "FAIL: %s: expected %s, got %s\n", what.c_str(),
                expected.c_str(), got.c_str());
    failures += ok ? 0 : 1;
}

// A string of the version record, "(none)" when it has no such value.
std::string Query(const std::vector<char>& block, const std::string& name) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), name.c_str(), &value, &length) || value == nullptr) {
        return "(none)";
    }
    const char* text = static_cast<const char*>(value);
    return std::string(text, std::find(text, text + length, '\0'));  // with or without its NUL
}

void CheckVersionRecord(const std::string& exe) {
    DWORD handle = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(exe.c_str(), &handle));
    const bool read =
        !block.empty() && GetFileVersionInfoA(exe.c_str(), 0, block.size(), block.data());
    Expect("version record", "read", read ? "read" : "error " + std::to_string(GetLastError()));
    void* value = nullptr;
    UINT length = 0;
    if (!read || !VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length) ||
        length < 4) {
        Expect("\\VarFileInfo\\Translation", "a language and code page", "none");
        return;
    }
    const WORD* translation = static_cast<const WORD*>(value);
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04x%04x\\", translation[0],
                  translation[1]);
    const char* const expected[][2] = {
        {"FileVersion", "2.00.0001"},
        {"ProductVersion", "2.00.0001"},
        {"InternalName", "Velkin"},
        {"OriginalFilename", "Velkin.exe"},
    };
    for (const auto& entry : expected) {
        Expect(entry[0], entry[1], Query(block, prefix + std::string(entry[0])));
    }
    for (const char* name : {"CompanyName", "ProductName"}) {
        const std::string got = Query(block, prefix + std::string(name));
        Expect(name, "a text", got.empty() || got == "(none)" ? "\"" + got + "\"" : "a text");
    }
}

// The DLL names of the import and delay-import tables, read from the file's bytes; "" on any
// header that does not hold together.
std::vector<std::string> ImportedDlls(const std::vector<unsigned char>& b, std::string& problem) {
    auto u16 = [&](std::size_t at) -> std::uint32_t {
        return at + 2 <= b.size() ? b[at] | b[at + 1] << 8 : 0;
    };
    auto u32 = [&](std::size_t at) -> std::uint32_t { return u16(at) | u16(at + 2) << 16; };
    std::vector<std::string> names;
    const std::size_t pe = u32(0x3C);
    if (u16(0) != 0x5A4D || u32(pe) != 0x4550) {
        problem = "no MZ or PE signature";
        return names;
    }
    const std::size_t optional = pe + 24;
    const bool pe32 = u16(optional) == 0x10B;
    const std::size_t directories = optional + (pe32 ? 96 : 112);
    const std::size_t sections = optional + u16(pe + 20);
    // The file offset of a relative virtual address, or 0 when no section holds it.
    auto offset = [&](std::uint32_t rva) -> std::size_t {
        for (std::size_t s = sections; s < sections + 40 * u16(pe + 6); s += 40) {
            const std::uint32_t start = u32(s + 12);
            if (rva >= start && rva - start < std::max(u32(s + 8), u32(s + 16))) {
                return u32(s + 20) + (rva - start);
            }
        }
        return 0;
    };
    auto text = [&](std::uint32_t rva) {
        std::string name;
        for (std::size_t at = offset(rva); at != 0 && at < b.size() && b[at] != 0; ++at) {
            name += static_cast<char>(std::tolower(b[at]));
        }
        return name;
    };
    // Import entries are 20 bytes with the name at 12; delay-import entries 32, name at 4.
    const struct {
        int directory;
        std::size_t size, name;
    } tables[] = {{1, 20, 12}, {13, 32, 4}};
    for (const auto& t : tables) {
        const std::uint32_t rva = u32(directories + 8 * t.directory);
        const std::size_t start = rva == 0 ? 0 : offset(rva);
        if (rva != 0 && start == 0) {
            problem = "a table outside every section";
        }
        for (std::size_t e = start; e != 0 && e + t.size <= b.size() && u32(e + t.name);
             e += t.size) {
            names.push_back(text(u32(e + t.name)));
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
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    std::string problem;
    const std::vector<std::string> dlls = ImportedDlls(bytes, problem);
    Expect("import tables", "readable", problem.empty() ? "readable" : problem);
    Expect("kernel32.dll imported", "yes",
           std::count(dlls.begin(), dlls.end(), "kernel32.dll") == 1 ? "yes" : "no");
    for (const std::string& dll : dlls) {
        Expect("import " + dll, "a DLL that ships with Windows",
               system.count(dll) == 1 ? "a DLL that ships with Windows" : dll);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("usage: version_check PATH-TO-EXE\n");
        return 2;
    }
    std::string exe = argv[1];
    if (exe[0] == '/') {
        exe = "Z:" + exe;  // Wine shows the Unix root as drive Z:
    }
    std::replace(exe.begin(), exe.end(), '/', '\\');
    std::printf("checking %s\n", exe.c_str());
    CheckVersionRecord(exe);
    CheckImports(exe);
    std::printf("%d failure(s)\n", failures);
    return failures == 0 ? 0 : 1;
}
