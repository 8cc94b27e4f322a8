#!/usr/bin/env bash
# Measures the program and writes docs/performance.md (the same Markdown is printed):
#   1. the core's timings, natively (Google Benchmark, preset bench): a press of Command1 and
#      a save through the benchmark's own file system (bench/bench_file_system.cpp), on a disk
#      folder and on tmpfs, for files of 93, 666 and 100,000 lines;
#   2. the size of both exes and the DLLs each imports;
#   3. start-up and memory under Wine, against a floor program (wine_section below), for each
#      build that this machine can run.
# Only what this run measured goes into the document; explanations written by hand, with their
# dates, are in docs/performance-notes.md. Builds what it needs. Environment: VELKIN_BUILD_ROOT
# (default build), VELKIN_PERF_DOC (default docs/performance.md), VELKIN_BENCH_WINE=0 to leave
# out the Wine section, VELKIN_BENCH_WINE_RUNS (default 11).
set -euo pipefail
cd "$(dirname "$0")/.."

root="${VELKIN_BUILD_ROOT:-build}"
doc="${VELKIN_PERF_DOC:-docs/performance.md}"
jobs="$(nproc)"
work="$(mktemp -d "${TMPDIR:-/tmp}/velkin-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT
report="$work/report.md"

# Targets, in milliseconds and bytes.
small_ms=5        # a press or a save of a file of up to 666 lines
large_ms=200      # a press or a save of a 100,000-line file
exe_limit=1048576 # each exe
# Under Wine, as ratios to the floor program's figures measured in the same run.
first_box_ratio=1.15 # start -> the first box on screen
no_ratio=1.1        # No answered after 500 ms -> the main window
yes_ratio=1.5       # Yes answered after 500 ms, nothing found -> the main window
# Under Wine, per build, in MiB: the peak working set measured before, not to be exceeded.
peak_limit() { [ "$1" = win32 ] && echo 27.4 || echo 27.6; }

# The DLLs that ship with Windows, the list that the release test reads too, as " a.dll b.dll ".
system_dlls="$(awk '!/^#/ && NF {printf " %s", $1} END {print " "}' cmake/system-dlls.txt)"

say() { printf '%s\n' "$*" >>"$report"; }

# --- machine -----------------------------------------------------------------------------
cpu="$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
cores="$(nproc)"
memory="$(awk '/^MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)"
when="$(date -u '+%Y-%m-%d %H:%M UTC')"

say "# Performance"
say ""
say "Measured by \`tools/bench.sh\` on $when."
say ""
say "| Machine | |"
say "|---|---|"
say "| CPU | $cpu |"
say "| Cores | $cores |"
say "| Memory | $memory |"
say "| System | $(uname -sr) |"
say "| Load average at start | $(cut -d' ' -f1-3 /proc/loadavg) |"
say ""

# --- 1. the core --------------------------------------------------------------------------
echo "bench: building the benchmarks" >&2
cmake --preset bench -B "$root/bench" >/dev/null
cmake --build "$root/bench" --target bench_core -j "$jobs" >/dev/null

# Runs the benchmarks with their temporary files in $2; leaves "name milliseconds" lines in $3.
run_core() {
    local label="$1" folder="$2" out="$3"
    mkdir -p "$folder"
    echo "bench: core, files on $label ($folder)" >&2
    TMPDIR="$folder" "$root/bench/bench/bench_core" \
        --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
        --benchmark_out="$work/$label.csv" --benchmark_out_format=csv >/dev/null 2>"$work/$label.err" ||
        { cat "$work/$label.err" >&2; exit 1; }
    awk -F, '
        /_median"?,/ {
            name = $1; gsub(/"/, "", name); sub(/_median$/, "", name)
            scale = ($5 == "ns") ? 1e-6 : ($5 == "us") ? 1e-3 : ($5 == "ms") ? 1 : 1000
            printf "%s %.4f\n", name, $3 * scale
        }' "$work/$label.csv" >"$out"
}

disk_dir="$root/bench/tmp"
run_core disk "$disk_dir" "$work/disk.txt"
disk_fs="$(df -T "$disk_dir" | awk 'NR == 2 {print $2}')"
have_tmpfs=0
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    run_core tmpfs /dev/shm "$work/tmpfs.txt"
    have_tmpfs=1
fi

lookup() { awk -v n="$2" '$1 == n {print $2}' "$1"; }
fmt_ms() { [ -n "$1" ] && printf '%.3f ms' "$1" || printf 'n/a'; }

say "## Core timings"
say ""
say "Median of 5 repetitions of Google Benchmark's own iteration loop, wall-clock time, Release build"
say "(g++ -O3), natively on Linux. The program's file system is Win32's alone, so the benchmark"
say "brings its own (\`bench/bench_file_system.cpp\`), which writes as the program does on Windows:"
say "a temporary file beside the target, synced, renamed over it, and the folder synced. *Disk*:"
say "the files lie in a folder on the build's own disk ($disk_fs), so a save pays for its two"
say "files being synced; *tmpfs*: the same in memory, where a sync costs nothing, which leaves the"
say "program's own work."
say ""
if [ "$have_tmpfs" = 1 ]; then
    say "| Operation | Lines | Target | Disk | Verdict | tmpfs | Verdict |"
    say "|---|---:|---:|---:|---|---:|---|"
else
    say "| Operation | Lines | Target | Disk | Verdict |"
    say "|---|---:|---:|---:|---|"
fi
misses=0
# Prints "met", "**missed**" or "-" for a time in ms against a target in ms.
verdict() {
    if [ -z "$2" ] || [ -z "$1" ]; then
        printf -- '-'
    elif awk -v a="$1" -v b="$2" 'BEGIN {exit !(a < b)}'; then
        printf 'met'
    else
        printf '**missed**'
    fi
}
row() {
    local what="$1" name="$2" lines="$3" target="$4" d t dv target_text="-"
    d="$(lookup "$work/disk.txt" "$name")"
    dv="$(verdict "$d" "$target")"
    [ "$dv" = "**missed**" ] && misses=$((misses + 1))
    [ -n "$target" ] && target_text="< $target ms"
    if [ "$have_tmpfs" = 1 ]; then
        t="$(lookup "$work/tmpfs.txt" "$name")"
        say "| $what | $lines | $target_text | $(fmt_ms "$d") | $dv | $(fmt_ms "$t") |" \
            "$(verdict "$t" "$target") |"
    else
        say "| $what | $lines | $target_text | $(fmt_ms "$d") | $dv |"
    fi
}
for n in 93 666 100000; do
    row "SplitSettingsText + ApplyLine over all lines" "SplitAndRecognise/lines:$n" "$n" ""
done
for n in 93 666 100000; do
    target=$small_ms
    [ "$n" -gt 666 ] && target=$large_ms
    row "Press of Command1 (ReadSettings, real file)" "Press/lines:$n" "$n" "$target"
done
row "FillTemplate alone" "Fill" "200" ""
for n in 93 666 100000; do
    target=$small_ms
    [ "$n" -gt 666 ] && target=$large_ms
    row "Save (WriteSettings: backup of the lines read, then the template)" "Save/lines:$n" "$n" \
        "$target"
done
say ""
say "Files of the press are a filled 93-line template repeated to the length given; the save"
say "backs up that many lines to Environment.cf0 and writes the 200-line Environment.cfg."
say "The disk column includes what the syncs cost; the tmpfs column leaves it out. Only the"
say "disk column counts towards the targets."
say ""

# --- 2. the exes --------------------------------------------------------------------------
say "## The program files"
say ""
say "Target: each exe under 1 MiB, importing only DLLs that ship with Windows."
say ""
say "| Build | Velkin.exe | Verdict | Imported DLLs | Verdict |"
say "|---|---:|---|---|---|"
for arch in win32 win64; do
    objdump=x86_64-w64-mingw32-objdump
    [ "$arch" = win32 ] && objdump=i686-w64-mingw32-objdump
    echo "bench: building $arch" >&2
    exe="$root/$arch/Velkin.exe"
    if ! { cmake --preset "$arch" -B "$root/$arch" >/dev/null &&
           cmake --build "$root/$arch" --target Velkin -j "$jobs" >/dev/null; } ||
       [ ! -f "$exe" ]; then
        say "| $arch | not built | **missed** | - | - |"
        misses=$((misses + 1))
        continue
    fi
    size="$(stat -c %s "$exe")"
    size_text="$(awk -v s="$size" 'BEGIN {printf "%.1f KiB (%d bytes)", s / 1024, s}')"
    size_verdict="met"
    [ "$size" -lt "$exe_limit" ] || { size_verdict="**missed**"; misses=$((misses + 1)); }
    dlls=""
    foreign=""
    for dll in $("$objdump" -p "$exe" | awk '/DLL Name:/ {print $3}'); do
        dlls="$dlls${dlls:+, }$dll"
        lower="$(printf '%s' "$dll" | tr '[:upper:]' '[:lower:]')"
        case "$system_dlls" in
        *" $lower "*) ;;
        *) foreign="$foreign${foreign:+, }$dll" ;;
        esac
    done
    dll_verdict="met"
    [ -z "$foreign" ] || { dll_verdict="**missed**: $foreign"; misses=$((misses + 1)); }
    say "| $arch | $size_text | $size_verdict | $dlls | $dll_verdict |"
done
say ""

# --- 3. Wine ------------------------------------------------------------------------------
# Start-up and memory of Velkin.exe under Wine, as ratios to a floor program (a Yes/No box,
# then an empty window) measured in the same run, in a throwaway prefix. A failure here is
# reported in the document, not by the script's exit status.
. tests/wine/prefix.sh

# Adds a target and a verdict to the Wine table of build $2: the first box, and the window after
# a No or a Yes answered as a person would, each within its ratio to the floor; the peak working
# set within its limit. No answered at once is shown as measured. Leaves the number of misses in
# wine-misses.
judge_wine() {
    awk -v missfile="$work/wine-misses" -v peak="$(peak_limit "$2")" \
        -v first_box="$first_box_ratio" -v no="$no_ratio" -v yes="$yes_ratio" '
        BEGIN { FS = " [|] "; misses = 0 }
        { sub(/\r$/, "") }  # the Windows console ends its lines with CR LF
        /^\| Figure/ { print "| Figure | Velkin | Floor | Ratio | Target | Verdict |"; next }
        /^\|---/ { print "|---|---:|---:|---:|---|---|"; next }
        /^\|/ {
            line = $0; sub(/ \|$/, "", line)
            target = "-"; verdict = "-"; limit = 0
            if ($1 ~ /Start ->/) limit = first_box
            if ($1 ~ /Answer No after 500 ms/) limit = no
            if ($1 ~ /Answer Yes after 500 ms/) limit = yes
            if (limit > 0) {
                # From the figures, not from the ratio as rounded for the table.
                target = "<= " limit " x floor"
                split($2, mine, " "); split($3, floor, " ")
                verdict = ($2 != "n/a" && $3 != "n/a" && mine[1] <= limit * floor[1]) ? "met" : "**missed**"
            } else if ($1 ~ /Peak working set/) {
                target = "<= " peak " MiB (before)"
                split($2, v, " ")
                verdict = ($2 != "n/a" && v[1] + 0 <= peak) ? "met" : "**missed**"
            }
            if (verdict == "**missed**") misses++
            print line " | " target " | " verdict " |"
            next
        }
        { print }
        END { print misses > missfile }
    ' "$1"
}

wine_section() {
    [ "${VELKIN_BENCH_WINE:-1}" = 0 ] && return 0
    local runs="${VELKIN_BENCH_WINE_RUNS:-11}" arch dir
    velkin_wine_env
    say "## Under Wine"
    say ""
    say "\`bench/wine_driver\` (which drives it from outside with tests/harness, as the end-to-end"
    say "tests do) starts Velkin.exe and \`bench/floor.cpp\` (a Yes/No box over a hidden window,"
    say "then the window shown whatever the answer; it carries Velkin's manifest, so both start"
    say "with the same common controls and DPI awareness) in turn, $runs times each of the three"
    say "ways below after one uncounted start"
    say "of each, in one fresh prefix on a virtual display"
    say "($(wine --version 2>/dev/null || echo 'wine, version unknown')), and gives medians."
    say "*Start -> first box*: from starting the program to its first box on screen, over all"
    say "starts: shown, and the box and each of its controls painted (their update regions empty). *Answer No after 500 ms*: No is pressed half a second after the question showed,"
    say "as a person would, and the time runs from the answer to the main window being visible;"
    say "*at once*: the same with No pressed as soon as the box shows, for comparison. *Answer Yes"
    say "after 500 ms*: the same with Yes, in a prefix whose Documents hold no settings folder, so"
    say "that Velkin looks for it, finds none and shows its window. After the window, Velkin reads"
    say "a 666-line Environment.cfg through the input box and saves (OK to every box); the peak"
    say "working set is GetProcessMemoryInfo's PeakWorkingSetSize after that. Ratio: Velkin /"
    say "floor."
    say ""
    for arch in win32 win64; do
        dir="$root/$arch"
        say "### $arch"
        say ""
        if [ "$arch" = win32 ] && ! velkin_can_run_32bit; then
            say "Not measured: this machine's kernel cannot run 32-bit programs, so Wine runs only"
            say "the 64-bit build here (\`tests/wine/prefix.sh\`). On a machine that can, the same"
            say "script measures it against its own floor, with a peak working set of at most"
            say "$(peak_limit win32) MiB as its target."
            say ""
            continue
        fi
        echo "bench: under Wine, $arch" >&2
        if ! cmake --build "$dir" --target Velkin velkin_floor wine_driver -j "$jobs" >/dev/null; then
            say "Not measured: the programs did not build."
            say ""
            misses=$((misses + 1))
            continue
        fi
        local status=0
        tests/wine/wine-run.sh "$dir/bench/wine_driver.exe" "$(realpath "$dir/Velkin.exe")" \
            "$(realpath "$dir/bench/velkin_floor.exe")" "$runs" >"$work/wine-$arch.md" \
            2>"$work/wine-$arch.err" || status=$?
        judge_wine "$work/wine-$arch.md" "$arch" >>"$report"
        misses=$((misses + $(cat "$work/wine-misses")))
        if [ "$status" -ne 0 ]; then
            say ""
            say "Incomplete: $(tr '\n' ' ' <"$work/wine-$arch.err" | cut -c1-300)"
        fi
        say ""
    done
}
wine_section

# --- report -------------------------------------------------------------------------------
if [ "$misses" -eq 0 ]; then
    say "All targets met."
else
    say "Targets missed: $misses (marked above)."
fi
mkdir -p "$(dirname "$doc")"
cp "$report" "$doc"
cat "$report"
echo "bench: written to $doc" >&2
