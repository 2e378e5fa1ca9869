#!/usr/bin/env bash
# Builds and runs both benchmarks and prints their figures: the ripple effect's own work per frame
# (native, Google Benchmark), the saver loop's frame rate against a bare loop, and the latency a person
# feels (the last two under Wine on Xvfb).
# Build folders: build/bench-native and build/bench-windows (PELLUNA_BENCH_NATIVE_DIR and
# PELLUNA_BENCH_WINDOWS_DIR choose others).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
native=${PELLUNA_BENCH_NATIVE_DIR:-$root/build/bench-native}
windows=${PELLUNA_BENCH_WINDOWS_DIR:-$root/build/bench-windows}
budget_us=11
min_ratio=0.5
key_target_ms=50
ring_target_ms=150
latency_runs=7

echo "== building"
cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELLUNA_TESTS=OFF \
    -DPELLUNA_BENCHMARKS=ON >/dev/null
cmake --build "$native" -j2 --target pelluna_effect_bench >/dev/null
cmake -S "$root" -B "$windows" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELLUNA_TESTS=OFF \
    -DPELLUNA_BENCHMARKS=ON --toolchain "$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$windows" -j2 --target pelluna_framerate_bench pelluna_minimal_window pelluna_scr >/dev/null
"$root/tests/win/music/make-test-audio" "$windows/latency-audio" >/dev/null

echo "== effect's own work per frame (Tick + DrawCurrentFrame through a GDI that does nothing)"
"$native/bench/pelluna_effect_bench" 2>&1 | tee "$native/effect_bench.txt"
frame_us=$(awk '$1 == "EffectFrame/drops:25/width:1920" { print $2 }' "$native/effect_bench.txt")

echo "== frame rate under Wine on Xvfb at 1920 x 1080"
env_dir="$windows/testenv"
"$root/tools/testenv" start "$env_dir" >/dev/null
trap '"$root/tools/testenv" stop "$env_dir" >/dev/null 2>&1 || true' EXIT
# Each run measures one loop for a few seconds; bare and saver runs alternate, and the medians count.
# Wine's helper processes outlive a program and would hold a pipe open: the figures go to a file.
rates="$windows/framerate.txt"
: >"$rates"
for round in 1 2 3; do
    for loop in bare saver; do
        "$root/tools/wine-run" "$env_dir" "$windows/bench/pelluna_framerate_bench.exe" "$loop" \
            </dev/null >"$windows/framerate-run.txt" 2>&1 || { cat "$windows/framerate-run.txt"; exit 1; }
        sed "s/^/round $round, /" "$windows/framerate-run.txt" | tee -a "$rates"
    done
done
median() { grep "$1: " "$rates" | grep fps | awk '{ print $(NF - 1) }' | sort -n | sed -n 2p; }
bare=$(median "bare loop")
saver=$(median "saver loop")
ratio=$(awk -v s="$saver" -v b="$bare" 'BEGIN { printf "%.3f", s / b }')
echo "median bare loop (erase, messages, copy): $bare fps"
echo "median saver loop (erase, messages, tick, draw, copy): $saver fps"
echo "ratio: $ratio"

echo "== latency a person feels, under Wine on Xvfb ($latency_runs alternating runs, medians)"
latency="$windows/latency.txt"
/usr/bin/python3 "$root/bench/felt_latency.py" "$windows" "$env_dir" --runs "$latency_runs" \
    --mp3 "$windows/latency-audio/tone.mp3" | tee "$latency"
result() { awk -v name="$1" '$1 == "RESULT" && $2 == name { print $3 }' "$latency"; }

echo "== summary"
awk -v us="$frame_us" -v budget="$budget_us" 'BEGIN {
    printf "effect work, 25 drops at 1920 px: %s us per frame (budget %s us): %s\n", us, budget,
           (us + 0 < budget + 0) ? "met" : "MISSED" }'
awk -v ratio="$ratio" -v min="$min_ratio" 'BEGIN {
    printf "saver loop / bare loop: %s (target at least %s): %s\n", ratio, min,
           (ratio + 0 >= min + 0) ? "met" : "MISSED" }'
awk -v key="$(result saver_key_to_gone_ms)" -v mp3="$(result saver_with_mp3_key_to_gone_ms)" \
    -v target="$key_target_ms" 'BEGIN {
    printf "key press to saver gone: %s ms, with an MP3 playing %s ms (target %s ms): %s\n", key, mp3, target,
           (key + 0 <= target + 0 && mp3 + 0 <= target + 0) ? "met" : "MISSED" }'
awk -v ring="$(result saver_start_to_first_ring_ms)" -v minimal="$(result minimal_start_to_visible_ms)" \
    -v over="$(result first_ring_over_minimal_ms)" -v fall="$(result saver_window_to_first_ring_ms)" \
    -v target="$ring_target_ms" 'BEGIN {
    printf "start to first ring: %s ms, minimal program to visible window: %s ms, difference %s ms " \
           "(target %s ms): %s; of it, window to first ring (the first drop falling): %s ms\n",
           ring, minimal, over, target, (over + 0 <= target + 0) ? "met" : "MISSED", fall }'
echo "start of /C to the dialog's shading: $(result dialog_start_to_shading_ms) ms" | sed 's/no-dialog ms/no dialog/'
