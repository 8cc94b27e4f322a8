#!/usr/bin/env bash
# Sets the machine up, builds every preset and runs every test: natively, under the
# sanitizers, the reader under the fuzzer, and the two Windows builds under Wine on a
# virtual display. Ends with one line that adds up every preset's tests.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh

. tests/wine/prefix.sh
velkin_wine_env
log="$(mktemp "${TMPDIR:-/tmp}/velkin-test.XXXXXX")"
cleanup() {
    rm -f "$log"
    velkin_stop_display
}
trap cleanup EXIT
velkin_sweep
velkin_ensure_display
velkin_template_prefix >/dev/null || echo "the Wine template prefix could not be made"

passed=0
failed=0
jobs=$(nproc)
for preset in native native-asan win32 win64; do
    echo "=== $preset"
    if ! cmake --preset "$preset" >/dev/null; then
        echo "$preset: the configure step failed"
        failed=$((failed + 1))
        continue
    fi
    if ! cmake --build --preset "$preset" -j "$jobs"; then
        echo "$preset: the build failed"
        failed=$((failed + 1))
        continue
    fi
    if [ "$preset" = win32 ] && ! velkin_can_run_32bit; then
        # Built, so it compiles; but Wine needs the kernel's 32-bit support to run it.
        echo "win32: built; not run, since this kernel cannot run 32-bit programs"
        continue
    fi
    status=0
    ctest --preset "$preset" -j "$jobs" 2>&1 | tee "$log" || status=$?
    # "100% tests passed, 0 tests failed out of 12"
    summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1 || true)
    if [ -z "$summary" ]; then
        echo "$preset: ctest gave no summary (exit $status)"
        failed=$((failed + 1))
        continue
    fi
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
    if [ "$status" -ne 0 ] && [ "$bad" -eq 0 ]; then
        bad=1
    fi
    passed=$((passed + total - bad))
    failed=$((failed + bad))
done

echo "=== fuzz"
if bash tools/fuzz.sh 60; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
fi

echo "all presets: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
