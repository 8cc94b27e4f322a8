// Times Velkin.exe against the floor program under Wine, in one run so that both meet the same
// machine: start -> first box, No -> main window shown, a press of Command1 and a save (each
// from sending the command to the first box), and the peak working set. Prints a Markdown
// table of medians, with Velkin's figures as ratios to the floor's.
// Usage: wine_driver VELKIN.EXE FLOOR.EXE [RUNS]  (Unix paths are taken as Z:)
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "layout.h"

namespace {

constexpr double kTimeoutMs = 30000;
const double kMissing = std::nan("");

double NowMs() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
    }
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

class Handle {
  public:
    explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
    ~Handle() {
        if (handle_ != nullptr) {
            CloseHandle(handle_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

// A visible top-level window of the process: a dialog box (#32770) or any other window.
struct Search {
    DWORD process;
    bool dialog;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
    Search& search = *reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.process || !IsWindowVisible(window)) {
        return TRUE;
    }
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if ((std::string(name) == "#32770") == search.dialog) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindShown(DWORD process, bool dialog) {
    Search search = {process, dialog, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Polls until a window of the kind is shown; nullptr after the timeout.
HWND WaitShown(DWORD process, bool dialog) {
    const double start = NowMs();
    while (NowMs() - start < kTimeoutMs) {
        if (HWND window = FindShown(process, dialog)) {
            return window;
        }
        Sleep(1);
    }
    return nullptr;
}

bool WaitGone(HWND window) {
    const double start = NowMs();
    while (NowMs() - start < kTimeoutMs) {
        if (!IsWindow(window) || !IsWindowVisible(window)) {
            return true;
        }
        Sleep(1);
    }
    return false;
}

void Answer(HWND box, int button) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}

struct ChildSearch {
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM data) {
    ChildSearch& search = *reinterpret_cast<ChildSearch*>(data);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, search.className) == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindChild(HWND parent, const char* className) {
    ChildSearch search = {className, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct Figures {
    double box = kMissing;    // start -> first box shown
    double main = kMissing;   // No -> main window shown
    double press = kMissing;  // Command1 -> input box shown
    double save = kMissing;   // Save -> first box shown
    double peakMiB = kMissing;
};

// Answers every box the save shows, until none comes within a second.
void AnswerAll(DWORD process) {
    for (;;) {
        const double start = NowMs();
        HWND box = nullptr;
        while (box == nullptr && NowMs() - start < 1000) {
            box = FindShown(process, true);
            Sleep(1);
        }
        if (box == nullptr) {
            return;
        }
        Answer(box, IDOK);
        WaitGone(box);
    }
}

// A settings file of 666 lines for the press and the save to work on.
std::string MakeFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "velkin-bench";
    CreateDirectoryA(folder.c_str(), nullptr);
    const char* lines[] = {"VERSION=3",        "SND_ENABLE=1",     "VID_DWIDTH=1920",
                           "VID_DHEIGHT=1080", "XR_LODOFFSET=0.0", "VID_GAMMARAMP=1.2",
                           "XR_GRAIN=0",       "DEFAULTGAME=P8",   "#a comment"};
    std::ofstream out(folder + "\\Environment.cfg", std::ios::binary);
    for (int i = 0; i < 666; ++i) {
        out << lines[i % (sizeof lines / sizeof lines[0])] << "\r\n";
    }
    return folder;
}

int CountLines(const std::string& folder) {
    std::ifstream in(folder + "\\Environment.cfg", std::ios::binary);
    std::string line;
    int count = 0;
    while (std::getline(in, line)) {
        ++count;
    }
    return count;
}

Figures RunOnce(const std::string& exe, bool velkin) {
    Figures figures;
    const std::string folder = MakeFolder();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string command = "\"" + exe + "\"";
    const double start = NowMs();
    if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info)) {
        std::fprintf(stderr, "could not start %s: error %lu\n", exe.c_str(), GetLastError());
        return figures;
    }
    Handle process(info.hProcess);
    Handle thread(info.hThread);
    const DWORD id = info.dwProcessId;

    HWND main = nullptr;
    if (HWND box = WaitShown(id, true)) {
        figures.box = NowMs() - start;
        const double no = NowMs();
        Answer(box, IDNO);
        main = WaitShown(id, false);
        if (main != nullptr) {
            figures.main = NowMs() - no;
        }
    }
    if (main != nullptr) {
        Sleep(300);  // let the start-up's own background work settle
    }

    if (velkin && main != nullptr) {
        // With no folder known, the press asks for one: the first box is the input box.
        if (HWND button = GetDlgItem(main, velkin::kCommand1)) {
            const double press = NowMs();
            PostMessageA(main, WM_COMMAND, MAKEWPARAM(velkin::kCommand1, BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
            if (HWND input = WaitShown(id, true)) {
                figures.press = NowMs() - press;
                if (HWND edit = FindChild(input, "Edit")) {
                    SetWindowTextA(edit, folder.c_str());
                }
                Answer(input, IDOK);
                WaitGone(input);
            }
        }
        Sleep(200);
        // Menus belong to their process under Wine, so the entry goes by its id.
        const double sent = NowMs();
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(velkin::kMenuSave, 0), 0);
        if (HWND box = WaitShown(id, true)) {
            figures.save = NowMs() - sent;
            Answer(box, IDOK);
            WaitGone(box);
            AnswerAll(id);
        }
    }

    if (velkin && !std::isnan(figures.save) && CountLines(folder) != 200) {
        std::fprintf(stderr, "the save did not write a 200-line Environment.cfg\n");
        figures.save = kMissing;
    }

    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process.get(), &memory, sizeof memory)) {
        figures.peakMiB = static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
    }
    if (main != nullptr) {
        PostMessageA(main, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.get(), 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 5000);
    }
    return figures;
}

double Median(std::vector<double> values) {
    values.erase(
        std::remove_if(values.begin(), values.end(), [](double v) { return std::isnan(v); }),
        values.end());
    if (values.empty()) {
        return kMissing;
    }
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string Format(double value, const char* unit) {
    if (std::isnan(value)) {
        return "n/a";
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.1f %s", value, unit);
    return text;
}

std::string Ratio(double program, double floor) {
    if (std::isnan(program) || std::isnan(floor) || floor <= 0) {
        return "-";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", program / floor);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: wine_driver VELKIN.EXE FLOOR.EXE [RUNS]\n");
        return 2;
    }
    const std::string velkin = WindowsPath(argv[1]);
    const std::string floor = WindowsPath(argv[2]);
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    // The first start in a fresh prefix pays for Wine's own warm-up; it is not counted.
    RunOnce(floor, false);
    RunOnce(velkin, true);

    std::vector<Figures> mine, base;
    for (int i = 0; i < runs; ++i) {
        base.push_back(RunOnce(floor, false));
        mine.push_back(RunOnce(velkin, true));
    }
    auto median = [](const std::vector<Figures>& all, double Figures::*field) {
        std::vector<double> values;
        for (const Figures& f : all) {
            values.push_back(f.*field);
        }
        return Median(values);
    };

    struct Row {
        const char* what;
        double Figures::*field;
        const char* unit;
    };
    const Row rows[] = {
        {"Start -> first box shown", &Figures::box, "ms"},
        {"Answer No -> main window shown", &Figures::main, "ms"},
        {"Peak working set", &Figures::peakMiB, "MiB"},
        {"Press of Command1 -> input box shown", &Figures::press, "ms"},
        {"Save -> first box shown", &Figures::save, "ms"},
    };
    std::printf("| Figure | Velkin | Floor | Ratio |\n|---|---:|---:|---:|\n");
    bool complete = true;
    for (const Row& row : rows) {
        const double program = median(mine, row.field);
        const double minimum = median(base, row.field);
        complete = complete && !std::isnan(program);
        std::printf("| %s | %s | %s | %s |\n", row.what, Format(program, row.unit).c_str(),
                    Format(minimum, row.unit).c_str(), Ratio(program, minimum).c_str());
    }
    return complete ? 0 : 1;
}
