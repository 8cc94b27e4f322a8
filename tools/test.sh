#!/usr/bin/env bash
# Sets the machine up, builds every preset and runs every test: natively, under the
# sanitizers, the reader under the fuzzer, and the two Windows builds under Wine on a
# virtual display. Ends with one line that adds up every preset's tests.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh

. tests/wine/prefix.sh
velkin_wine_env
velkin_ensure_display
trap velkin_stop_display EXIT
velkin_template_prefix >/dev/null

log="$(mktemp "${TMPDIR:-/tmp}/velkin-test.XXXXXX")"
passed=0
failed=0
jobs=$(nproc)
for preset in native native-asan win32 win64; do
    echo "=== $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    status=0
    ctest --preset "$preset" -j "$jobs" | tee "$log" || status=$?
    # "100% tests passed, 0 tests failed out of 12"
    summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
    if [ -z "$summary" ] || [ "$status" -ne 0 ] && [ "${bad:-0}" -eq 0 ]; then
        bad=1
        total=${total:-1}
    fi
    passed=$((passed + total - bad))
    failed=$((failed + bad))
done
rm -f "$log"

echo "=== fuzz"
if bash tools/fuzz.sh 60; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
fi

echo "all presets: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
