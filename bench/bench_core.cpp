// Timings of the settings core: recognising a file's lines, a press of Command1 and a save
// through a real file system (the benchmark's own, see bench_file_system.h). Run by
// tools/bench.sh, never by ctest.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench/bench_file_system.h"
#include "settings/settings.h"
#include "tests/fakes.h"

namespace {

// Controls in memory, as the unit tests have them; every box is answered at once.
using BenchView = velkin::test::FakeView;

// A folder of its own under TMPDIR, removed with everything in it.
class TempFolder {
  public:
    TempFolder() {
        const char* tmp = std::getenv("TMPDIR");
        std::string name = std::string(tmp != nullptr ? tmp : "/tmp") + "/velkin-bench.XXXXXX";
        if (::mkdtemp(&name[0]) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        path_ = name;
    }
    ~TempFolder() {
        for (const char* file : {"/Environment.cfg", "/Environment.cf0"}) {
            std::remove((path_ + file).c_str());
        }
        ::rmdir(path_.c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// A realistic file of `count` lines: a filled template over and over, so that every managed
// key recurs and about a third of the lines are unmanaged.
std::vector<std::string> MakeLines(std::size_t count) {
    BenchView view;
    const char* values[velkin::kValueCount] = {
        "1920",     "1080",     "2",        "4", "16",       "1.000000", "1.200000",
        "1.000000", "0.000000", "1.000000", "3", "0.500000", "0.000000", "1.000000"};
    for (int n = 1; n <= velkin::kValueCount; ++n) {
        view.SetText(n, values[n - 1]);
    }
    for (int n = 1; n <= velkin::kSwitchCount; n += 2) {
        view.SetCheck(n, true);
    }
    velkin::BenchFileSystem files;
    std::vector<std::string> pattern;
    velkin::FillTemplate(view, files, pattern);
    pattern.resize(93);  // the filled rows, without the trailing empty lines
    std::vector<std::string> lines;
    lines.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        lines.push_back(pattern[i % pattern.size()]);
    }
    return lines;
}

void SplitAndRecognise(benchmark::State& state) {
    const std::string bytes = velkin::JoinLines(MakeLines(state.range(0)));
    for (auto _ : state) {
        BenchView view;
        velkin::BenchFileSystem files;
        std::vector<std::string> lines;
        velkin::SplitSettingsText(bytes, lines);
        for (const std::string& line : lines) {
            velkin::ApplyLine(line, view, files);
        }
        benchmark::DoNotOptimize(view.texts);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

// One press of Command1: existence test, reading the file from disk, recognising every line.
void Press(benchmark::State& state) {
    TempFolder folder;
    velkin::BenchFileSystem files;
    const std::string cfg = folder.path() + "\\Environment.cfg";
    if (!files
             .WriteBytes(cfg, velkin::JoinLines(MakeLines(state.range(0))),
                         velkin::ReadOnly::Refuse)
             .ok) {
        state.SkipWithError("could not write the settings file");
        return;
    }
    for (auto _ : state) {
        BenchView view;
        velkin::SettingsState settings;
        settings.SettingsPath = folder.path();
        velkin::ReadSettings(settings, view, files);
        if (settings.LineCount != static_cast<std::size_t>(state.range(0))) {
            state.SkipWithError("the press did not read every line");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void Fill(benchmark::State& state) {
    BenchView view;
    velkin::BenchFileSystem files;
    for (auto _ : state) {
        std::vector<std::string> lines;
        benchmark::DoNotOptimize(velkin::FillTemplate(view, files, lines));
        benchmark::DoNotOptimize(lines);
    }
}

// One save after a press: the backup of the lines as read, then the 200-line file, both
// written through the real file system (each synced to disk).
void Save(benchmark::State& state) {
    TempFolder folder;
    velkin::BenchFileSystem files;
    const std::string cfg = folder.path() + "\\Environment.cfg";
    if (!files
             .WriteBytes(cfg, velkin::JoinLines(MakeLines(state.range(0))),
                         velkin::ReadOnly::Refuse)
             .ok) {
        state.SkipWithError("could not write the settings file");
        return;
    }
    BenchView view;
    velkin::SettingsState settings;
    settings.SettingsPath = folder.path();
    velkin::ReadSettings(settings, view, files);
    for (auto _ : state) {
        velkin::WriteSettings(settings, view, files);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(SplitAndRecognise)->ArgName("lines")->Arg(93)->Arg(666)->Arg(100000);
BENCHMARK(Press)->ArgName("lines")->Arg(93)->Arg(666)->Arg(100000);
BENCHMARK(Fill);
BENCHMARK(Save)->ArgName("lines")->Arg(93)->Arg(666)->Arg(100000);

BENCHMARK_MAIN();
