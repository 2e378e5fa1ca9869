#!/usr/bin/env bash
# Installs, as root and idempotently, everything the build and the three test tiers need on Debian 12.
set -euo pipefail
packages=(
    cmake ninja-build g++ make libgtest-dev libgmock-dev googletest libbenchmark-dev
    clang libclang-rt-14-dev
    g++-mingw-w64-x86-64 wine wine64 nsis
    xvfb xserver-xephyr xdotool x11-utils libx11-6 libxfixes3 imagemagick
    pulseaudio pulseaudio-utils sox libsox-fmt-mp3 lame
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good
    locales python3 git
    fonts-ipafont-gothic fonts-dejavu-core fonts-wine
)
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# Wine uses code page 932 only when the Japanese locale exists on the system; the English one gives the
# English Windows (code page 1252, display language English) that the program's English texts are for.
for wanted in ja_JP en_US; do
    if ! locale -a 2>/dev/null | grep -qi "^$wanted\.utf-\?8\$"; then
        $SUDO sed -i "s/^# *\($wanted.UTF-8 UTF-8\)/\1/" /etc/locale.gen
        grep -q "^$wanted.UTF-8 UTF-8" /etc/locale.gen || echo "$wanted.UTF-8 UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
        $SUDO locale-gen >/dev/null
    fi
done
