#!/usr/bin/env bash
# Fuzzes the settings reader for a while: tools/fuzz.sh [seconds] (default 60).
# Builds the libFuzzer target with clang (preset fuzz), runs it on a scratch copy of the
# seed corpus, and fails on any crash, hang, leak or sanitizer report. A failing input is
# kept in <build>/fuzz-artifacts/ so it can be replayed and added to tests/fuzz/corpus.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
build="${VELKIN_FUZZ_BUILD:-build/fuzz}"

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" --target fuzz_reader -j "$(nproc)"

work="$(mktemp -d "${TMPDIR:-/tmp}/velkin-fuzz.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cp -r tests/fuzz/corpus "$work/corpus"
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"

echo "fuzz: running fuzz_reader for ${seconds}s"
status=0
"$build/tests/fuzz/fuzz_reader" \
    -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 -detect_leaks=1 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$work/corpus" || status=$?
if [ "$status" -ne 0 ]; then
    echo "fuzz: FAILED (exit $status); inputs kept in $artifacts:" >&2
    ls -l "$artifacts" >&2 || true
    exit 1
fi
echo "fuzz: no crash, hang or leak in ${seconds}s"
