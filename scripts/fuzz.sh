#!/usr/bin/env bash
# Builds the sanitize preset, runs every fuzz target for longer (SECONDS each, default 300) and prints how
# many inputs each one ran. A finding fails the run; its input lands in build/sanitize/tests/fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}

scripts/setup.sh
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize

fuzz_dir=build/sanitize/tests/fuzz
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
summary=()
failed=0
for corpus in tests/fuzz/corpus/*/; do
    name=$(basename "$corpus")
    log=$fuzz_dir/$name.log
    echo "== $name: $seconds s"
    if ! tests/fuzz/run-fuzz-target "$fuzz_dir/fuzz_$name" "$fuzz_dir" "$corpus" "$seconds" >"$log" 2>&1; then
        tail -n 40 "$log"
        summary+=("$(printf '%-18s FOUND A FAULT: input in %s/artifacts/%s/' "$name" "$fuzz_dir" "$name")")
        failed=1
        continue
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    summary+=("$(printf '%-18s %12s executions in %s s' "$name" "$runs" "$seconds")")
done
printf '%s\n' "${summary[@]}"
exit $failed
