#!/usr/bin/env bash
# Builds Pelluna.scr and runs the saver under Wine. With a display (DISPLAY set) it runs there until a key
# or click ends it; without one it runs on a private screen for a few seconds and records a screenshot and
# an animated GIF, whose folder it prints. The Wine prefix stays in the build tree, so a second run is quick.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target pelluna_scr

scr="$root/build/windows/Pelluna.scr"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

if [ -n "${DISPLAY:-}" ]; then
    export WINEPREFIX="$root/build/windows/run-prefix"
    # Without address randomization, as tools/randomization.sh says why; with Wine's own fonts, as
    # tools/testenv puts them into each prefix, for the title bar's buttons.
    [ -f "$WINEPREFIX/system.reg" ] || setarch -R wineboot -i >/dev/null 2>&1
    cp -u /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    exec setarch -R wine "$scr" /S
fi

env_dir="$root/build/windows/run-env"
out="$root/build/windows/recording"
rm -rf "$out"
mkdir -p "$out/frames"
started=$(date +%s%N)
fresh_prefix=yes
[ -f "$env_dir/prefix/system.reg" ] && fresh_prefix=no
tools/testenv start "$env_dir" >/dev/null
trap 'tools/testenv stop "$env_dir"' EXIT
# shellcheck disable=SC1091
. "$env_dir/env.sh"

setarch -R wine "$scr" /S &
saver=$!
for _ in $(seq 200); do xdotool search --name '^Pelluna_Main$' >/dev/null 2>&1 && break; sleep 0.1; done
sleep 2 # let the first ripples spread before the recording starts
for i in $(seq -w 1 20); do
    import -window root -resize 640x360 "$out/frames/frame$i.png"
    sleep 0.1
done
import -window root "$out/screenshot.png"
convert -delay 10 -loop 0 "$out"/frames/frame*.png -layers Optimize "$out/saver.gif"
xdotool key space || true
wait "$saver" || true
elapsed_ms=$((($(date +%s%N) - started) / 1000000))
printf 'The saver ran on a private 1920x1080 screen; recording took %d.%01d s (Wine prefix %s).\n' \
    $((elapsed_ms / 1000)) $((elapsed_ms % 1000 / 100)) \
    "$([ "$fresh_prefix" = yes ] && echo "made in $env_dir/prefix" || echo "reused from $env_dir/prefix")"
echo "Screenshot and animation: $out"
echo "  $out/screenshot.png"
echo "  $out/saver.gif"
