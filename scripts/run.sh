#!/usr/bin/env bash
# Builds Pelluna.scr and runs the saver under Wine. With a display (DISPLAY set) it runs there until a key
# or click ends it; without one it runs on a private screen for a few seconds and records a screenshot and
# an animated GIF, whose folder it prints.
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
    exec wine "$scr" /S
fi

env_dir="$root/build/windows/run-env"
out="$root/build/windows/recording"
rm -rf "$out"
mkdir -p "$out/frames"
tools/testenv start "$env_dir" >/dev/null
trap 'tools/testenv stop "$env_dir"' EXIT
# shellcheck disable=SC1091
. "$env_dir/env.sh"

wine "$scr" /S &
saver=$!
sleep 4
for i in $(seq -w 1 20); do
    import -window root -resize 640x360 "$out/frames/frame$i.png"
    sleep 0.1
done
import -window root "$out/screenshot.png"
convert -delay 10 -loop 0 "$out"/frames/frame*.png -layers Optimize "$out/saver.gif"
xdotool key space || true
wait "$saver" || true
echo "The saver ran on a private 1920x1080 screen. Screenshot and animation: $out"
echo "  $out/screenshot.png"
echo "  $out/saver.gif"
