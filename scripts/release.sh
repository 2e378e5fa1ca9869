#!/usr/bin/env bash
# Builds the release from a clean folder: the setup program build/release/Pelluna-VERSION-setup.exe
# (installer/Pelluna.nsi) and build/release/Pelluna-VERSION-win64.zip holding Pelluna.scr and INSTALL.txt,
# with fixed dates, modes and order, then prints the sha256 of the program, the setup and the zip.
# Usage: scripts/release.sh [--twice]
#   --twice  also makes a second clean build in build/release-check and compares both byte for byte.
# The version is the one in the program's version resource (src/resources/Pelluna.rc).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
twice=no
case "${1:-}" in
'') ;;
--twice) twice=yes ;;
*) echo "usage: $0 [--twice]" >&2; exit 2 ;;
esac

version=$(sed -n 's/^ *VALUE "ProductVersion", "\([0-9.]*\)".*/\1/p' src/resources/Pelluna.rc)
[ -n "$version" ] || { echo "no ProductVersion in src/resources/Pelluna.rc" >&2; exit 1; }
zip_name="Pelluna-$version-win64.zip"
setup_name="Pelluna-$version-setup.exe"

scripts/setup.sh

# One clean build in DIR: the build tree in DIR/cmake, the program, the setup and the archive in DIR.
release_into() {
    local dir=$1
    rm -rf "$dir"
    mkdir -p "$dir"
    cmake -S "$root" -B "$dir/cmake" -G Ninja --toolchain "$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DPELLUNA_TESTS=OFF -DPELLUNA_BENCHMARKS=OFF >"$dir/configure.log"
    cmake --build "$dir/cmake" -j2 --target pelluna_scr pelluna_setup >"$dir/build.log"
    cp "$dir/cmake/Pelluna.scr" "$dir/cmake/$setup_name" "$dir/"
    /usr/bin/python3 - "$dir/Pelluna.scr" "$root/docs/INSTALL.txt" "$dir/$zip_name" <<'PY'
import struct
import sys
import zipfile

program, install_text, archive = sys.argv[1:4]
with open(program, "rb") as f:
    image = f.read()
# A PE file whose COFF header carries no link time (the stamp field is 0).
pe = struct.unpack_from("<I", image, 0x3C)[0]
if image[:2] != b"MZ" or image[pe:pe + 4] != b"PE\0\0":
    sys.exit(f"{program} is no PE file")
stamp = struct.unpack_from("<I", image, pe + 8)[0]
if stamp != 0:
    sys.exit(f"{program} carries a link time stamp: {stamp:#x}")

with open(install_text, encoding="utf-8") as f:
    text = f.read().replace("\r\n", "\n").replace("\n", "\r\n").encode("ascii")
# Fixed order, date (the earliest a ZIP file can hold), system and modes: the bytes depend on the
# contents only.
with zipfile.ZipFile(archive, "w") as z:
    for name, data in (("Pelluna.scr", image), ("INSTALL.txt", text)):
        info = zipfile.ZipInfo(name, date_time=(1980, 1, 1, 0, 0, 0))
        info.create_system = 3
        info.external_attr = 0o100644 << 16
        info.compress_type = zipfile.ZIP_DEFLATED
        z.writestr(info, data, compresslevel=9)
PY
}

first="$root/build/release"
release_into "$first"
echo "release $version in $first"
(cd "$first" && sha256sum Pelluna.scr "$setup_name" "$zip_name")

if [ "$twice" = yes ]; then
    second="$root/build/release-check"
    release_into "$second"
    echo "second clean build in $second"
    (cd "$second" && sha256sum Pelluna.scr "$setup_name" "$zip_name")
    for file in Pelluna.scr "$setup_name" "$zip_name"; do
        cmp "$first/$file" "$second/$file" || { echo "the two builds differ: $file" >&2; exit 1; }
    done
    echo "both builds are byte-identical: Pelluna.scr, $setup_name and $zip_name"
fi
