#!/usr/bin/env bash
# Soak run: the real saver under Wine for MINUTES (default 10) with an MP3 playing, sampled every 30 s.
# Usage: scripts/soak.sh [MINUTES]
# Each sample records the memory of the Linux process that runs Pelluna.scr (VmRSS in /proc/PID/status)
# and the saver's live GDI objects, read from its GDI handle table by the pelluna_gdi_count helper
# (GetGuiResources gives 0 under Wine). At the end it prints the table and the start, maximum and end of
# both, ends the saver with a key and checks that the process and its audio stream are gone.
# Builds in build/windows; the test environment (prefix, display, audio server) is build/windows/soak-env.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
minutes=${1:-10}
interval_s=30
case "$minutes" in '' | *[!0-9]*) echo "usage: $0 [MINUTES]" >&2; exit 2 ;; esac
[ "$minutes" -ge 1 ] || { echo "usage: $0 [MINUTES] (at least 1)" >&2; exit 2; }

scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target pelluna_scr pelluna_gdi_count >/dev/null

build="$root/build/windows"
env_dir="$build/soak-env"
run="$build/soak"
rm -rf "$run"
mkdir -p "$run"
cp "$build/Pelluna.scr" "$run/"
tests/win/music/make-test-audio "$run/audio" >/dev/null

# The settings file beside the program, in the code page the program reads it with (932 under this locale).
locale=ja_JP.UTF-8
mp3_path="Z:$(printf '%s' "$run/audio/tone.mp3" | tr / '\\')"
printf '[Section]\r\nBGM区分= 2\r\nBGMﾌｧｲﾙ=%s\r\n' "$mp3_path" | iconv -f UTF-8 -t CP932 >"$run/Pelluna.ini"

tools/testenv start "$env_dir" >/dev/null
saver=""
cleanup() {
    if [ -n "$saver" ] && ! saver_gone; then kill "$saver" 2>/dev/null || true; fi
    tools/testenv stop "$env_dir" >/dev/null 2>&1 || true
}
trap cleanup EXIT
# shellcheck disable=SC1091
. "$env_dir/env.sh"

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# Polls a command every 50 ms until it succeeds or the time (in ms) runs out.
wait_for() {
    local limit_ms=$1 deadline
    shift
    deadline=$(($(now_ms) + limit_ms))
    until "$@"; do
        [ "$(now_ms)" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}
saver_window() { xdotool search --name '^Pelluna_Main$' >/dev/null 2>&1; }
saver_focused() {
    local focus
    focus=$(xdotool getwindowfocus 2>/dev/null) || return 1
    xdotool search --name '^Pelluna_Main$' 2>/dev/null | grep -qx "$focus"
}
# The saver's stream, by its process id (the stream is named after the program's version resource).
audio_stream() { pactl list sink-inputs 2>/dev/null | grep -q "application.process.id = \"$saver\""; }
no_audio_stream() { ! audio_stream; }
# Gone once it is no longer running: an ended child stays a zombie (state Z) until it is waited for.
saver_gone() {
    local state
    state=$(awk '{ print $3 }' "/proc/$saver/stat" 2>/dev/null) || return 0
    [ -z "$state" ] || [ "$state" = Z ]
}

LC_ALL=$locale LANG=$locale setarch -R wine "$run/Pelluna.scr" /S </dev/null >"$run/saver.log" 2>&1 &
saver=$!
# setarch and the wine launcher exec into the loader, so this is the process that runs the program.
grep -qa 'Pelluna\.scr' "/proc/$saver/cmdline" || wait_for 5000 grep -qa 'Pelluna\.scr' "/proc/$saver/cmdline" ||
    { echo "the process $saver does not run Pelluna.scr" >&2; exit 1; }
wait_for 10000 saver_window || { echo "no saver window within 10 s" >&2; exit 1; }
wait_for 15000 audio_stream || { echo "no audio stream from Pelluna.scr within 15 s" >&2; exit 1; }

samples="$run/samples.tsv"
printf 'seconds\tvmrss_kib\tgdi_objects\taudio\n' >"$samples"
samples_total=$((minutes * 60 / interval_s + 1))
echo "Soak: Pelluna.scr /S with an MP3 (BGM区分 2) for $minutes min, a sample every $interval_s s (Linux pid $saver)"
printf '%8s %12s %12s %6s\n' seconds 'VmRSS KiB' 'GDI objects' audio
started=$(now_ms)
for i in $(seq 0 $((samples_total - 1))); do
    due=$((started + i * interval_s * 1000))
    wait_ms=$((due - $(now_ms)))
    if [ "$wait_ms" -gt 0 ]; then sleep "$(awk -v ms="$wait_ms" 'BEGIN { printf "%.3f", ms / 1000 }')"; fi
    saver_gone && { echo "the saver ended during the soak, after $((i * interval_s)) s" >&2; exit 1; }
    rss=$(awk '$1 == "VmRSS:" { print $2 }' "/proc/$saver/status")
    tools/wine-run "$env_dir" "$build/tests/e2e/pelluna_gdi_count.exe" Pelluna.scr </dev/null >"$run/gdi.txt" 2>&1 ||
        { cat "$run/gdi.txt" >&2; exit 1; }
    gdi=$(tr -d '\r' <"$run/gdi.txt" | awk '{ for (f = 1; f < NF; f++) if ($f == "gdi_objects") print $(f + 1) }')
    [ -n "$gdi" ] || { cat "$run/gdi.txt" >&2; exit 1; }
    audio=no
    audio_stream && audio=yes
    printf '%s\t%s\t%s\t%s\n' $((i * interval_s)) "$rss" "$gdi" "$audio" >>"$samples"
    printf '%8s %12s %12s %6s\n' $((i * interval_s)) "$rss" "$gdi" "$audio"
done

awk -F '\t' 'NR == 2 { r0 = $2; g0 = $3 }
    NR > 1 { if ($2 > rmax) rmax = $2; if ($3 > gmax) gmax = $3; r1 = $2; g1 = $3; n++; if ($4 == "yes") a++ }
    END {
        printf "VmRSS (KiB):  start %d, maximum %d, end %d (end - start %+d)\n", r0, rmax, r1, r1 - r0
        printf "GDI objects:  start %d, maximum %d, end %d (end - start %+d)\n", g0, gmax, g1, g1 - g0
        printf "audio stream present in %d of %d samples\n", a, n
    }' "$samples"

wait_for 5000 saver_focused || { echo "the saver window does not have the keyboard focus" >&2; exit 1; }
key_at=$(now_ms)
xdotool key space
wait_for 5000 saver_gone || { echo "a key press did not end the saver within 5 s" >&2; exit 1; }
echo "a key press ended the saver within $(($(now_ms) - key_at)) ms"
status=0
wait "$saver" || status=$?
[ "$status" -eq 0 ] || { echo "the saver ended with exit code $status" >&2; exit 1; }
wait_for 5000 no_audio_stream || { echo "the audio stream outlived the saver" >&2; exit 1; }
saver=""
echo "samples: $samples"
