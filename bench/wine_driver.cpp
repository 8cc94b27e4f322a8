// Times Velkin.exe against the floor program (floor.cpp) under Wine, the two started in turn
// in one run so that both meet the same machine. Per start: the time to the first box; No
// answered 500 ms after the box showed, as a person would, or at once, or Yes after 500 ms
// with no settings folder to be found; the time from the answer to the main window shown; and
// the peak working set after a session (for Velkin a press of Command1 reading a 666-line file
// through the input box, then a save). Prints a Markdown table of medians, Velkin's figures as
// ratios to the floor's.
// Usage: wine_driver VELKIN.EXE FLOOR.EXE [RUNS]   (Unix paths are taken as Z:)
#include "tests/harness/harness.h"
#include "window/ids.h"

#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using namespace e2e;

const double kMissing = std::nan("");
constexpr DWORD kPollMs = 1;  // what is timed is the program, not the polling
constexpr DWORD kPersonMs = 500;

double NowMs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

HWND WaitShown(Program& p, const wchar_t* cls, const std::string& what) {
    HWND found = nullptr;
    p.WaitFor(what, [&] { return (found = p.Find(cls)) != nullptr; });
    return found;
}

HWND WaitPainted(Program& p, const wchar_t* cls, const std::string& what) {
    HWND found = nullptr;
    p.WaitFor(what, [&] { return (found = p.Find(cls)) != nullptr && Painted(found); });
    return found;
}

struct Figures {
    double box = kMissing, person = kMissing, instant = kMissing, yes = kMissing,
           peakMiB = kMissing;
};

// How the question is answered, and which figure the time to the main window goes to.
struct Answer {
    DWORD waitMs;
    int button;
    double Figures::*shown;
};

const Answer kAnswers[] = {
    {kPersonMs, IDNO, &Figures::person},
    {0, IDNO, &Figures::instant},
    {kPersonMs, IDYES, &Figures::yes},
};

std::string WindowsPath(std::string path) {
    path = path[0] == '/' ? "Z:" + path : path;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// A folder whose Environment.cfg has 666 lines for the press to read. It lies in the temporary
// folder, away from Documents, so that a Yes finds no settings.
std::string MakeFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::string folder = Utf8(temp) + "velkin-bench";
    CreateDirectoryW(Wide(folder).c_str(), nullptr);
    const char* lines[] = {"VERSION=3",        "SND_ENABLE=1",     "VID_DWIDTH=1920",
                           "VID_DHEIGHT=1080", "XR_LODOFFSET=0.0", "VID_GAMMARAMP=1.2",
                           "XR_GRAIN=0",       "DEFAULTGAME=P8",   "#a comment"};
    std::string text;
    for (int i = 0; i < 666; ++i) {
        text += lines[i % 9] + std::string("\r\n");
    }
    WriteWhole(folder + "\\Environment.cfg", text);
    return folder;
}

// Answers OK to every box until the handler that `handled` waits for has returned.
void AnswerAll(Program& p, const std::future<LRESULT>& handled) {
    while (!Done(handled)) {
        HWND box = nullptr;
        p.WaitFor("a box or the end", [&] { return Done(handled) || (box = p.Find(kBoxClass)); });
        if (box != nullptr) {
            p.Press(box, IDOK);
        }
    }
}

void Session(Program& p, HWND main, const std::string& folder) {
    std::future<LRESULT> read, saved;  // they wait for their handlers when they go
    try {
        read = p.Send(GetDlgItem(main, velkin::kCommand1), BM_CLICK);
        HWND input = WaitShown(p, kBoxClass, "a box");
        SetText(GetDlgItem(input, IDC_ANSWER), folder);
        p.Press(input, IDOK);
        AnswerAll(p, read);
        saved = p.Send(main, WM_COMMAND, velkin::kMenuSave);
        AnswerAll(p, saved);
    } catch (...) {
        TerminateProcess(p.process, 99);  // a handler left in a box ends with the program
        throw;
    }
    std::string written = ReadWhole(folder + "\\Environment.cfg");
    auto lines = std::count(written.begin(), written.end(), '\n');
    Must(lines == 200, "a save: expected 200 lines, got " + std::to_string(lines));
}

void RunOnce(const std::string& exe, bool velkin, const Answer& answer, Figures& f) {
    try {
        std::string folder = MakeFolder();
        double start = NowMs();
        Program p(exe, folder);
        p.pollMs = kPollMs;
        HWND box = WaitPainted(p, kBoxClass, "a box painted");
        f.box = NowMs() - start;
        Sleep(answer.waitMs);  // reading the question
        double answered = NowMs();
        p.Press(box, answer.button);
        HWND main =
            WaitShown(p, velkin ? velkin::kMainWindowClass : L"VelkinFloor", "the main window");
        f.*answer.shown = NowMs() - answered;
        if (velkin) {
            Session(p, main, folder);
        }
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        if (GetProcessMemoryInfo(p.process, &memory, sizeof memory)) {
            f.peakMiB = double(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
        }
        PostMessageW(main, WM_CLOSE, 0, 0);
        WaitForSingleObject(p.process, 10000);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", exe.c_str(), e.what());
    }
}

double Median(const std::vector<Figures>& all, double Figures::*field) {
    std::vector<double> v;
    for (const Figures& f : all) {
        if (!std::isnan(f.*field)) {
            v.push_back(f.*field);
        }
    }
    std::sort(v.begin(), v.end());
    std::size_t n = v.size();
    return n == 0 ? kMissing : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: wine_driver VELKIN.EXE FLOOR.EXE [RUNS]\n");
        return 2;
    }
    const std::string exe[2] = {WindowsPath(argv[2]), WindowsPath(argv[1])};  // floor, Velkin
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 7;
    std::vector<Figures> all[2];
    Figures warmUp;  // Wine's own warm-up in a fresh prefix is not counted
    RunOnce(exe[0], false, kAnswers[1], warmUp);
    RunOnce(exe[1], true, kAnswers[1], warmUp);
    for (int i = 0; i < runs; ++i) {
        for (const Answer& answer : kAnswers) {
            for (int program : {0, 1}) {
                RunOnce(exe[program], program == 1, answer, all[program].emplace_back());
            }
        }
    }
    const std::pair<const char*, double Figures::*> rows[] = {
        {"Start -> first box shown", &Figures::box},
        {"Answer No after 500 ms -> main window shown", &Figures::person},
        {"Answer No at once -> main window shown", &Figures::instant},
        {"Answer Yes after 500 ms -> main window shown", &Figures::yes},
        {"Peak working set", &Figures::peakMiB},
    };
    std::printf("| Figure | Velkin | Floor | Ratio |\n|---|---:|---:|---:|\n");
    bool complete = true;
    for (const auto& [what, field] : rows) {
        double mine = Median(all[1], field), floor = Median(all[0], field);
        const char* unit = field == &Figures::peakMiB ? " MiB" : " ms";
        auto text = [&](double v, const char* u) {
            char s[32] = "n/a";
            std::isnan(v) || std::snprintf(s, sizeof s, "%.*f%s", *u ? 1 : 2, v, u);
            return std::string(s);
        };
        complete = complete && !std::isnan(mine) && !std::isnan(floor);
        std::printf("| %s | %s | %s | %s |\n", what, text(mine, unit).c_str(),
                    text(floor, unit).c_str(), text(mine / floor, "").c_str());
    }
    return complete ? 0 : 1;
}
