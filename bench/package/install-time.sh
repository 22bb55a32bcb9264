#!/usr/bin/env bash
# Korvanel's install package under Wine, in one run: its size, the time of a silent install and
# the time of copying the same payload plainly (package-install-time, tools/installbench). The
# package is built from packaging/korvanel as scripts/package builds it (programs without their
# debugging information), from the given preset's build.
#   bench/package/install-time.sh [preset]     (default win64; inside an X server: scripts/with-xvfb bench/...)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
preset=${1:-win64}
build="$root/build/$preset"
case "$preset" in
  win32) strip=i686-w64-mingw32-strip ;;
  *) strip=x86_64-w64-mingw32-strip ;;
esac
cmake --build "$build" -j 3 --target Korvanel DravellInstaller korvanel-uninstall package-install-time >/dev/null
# The default key layout is written by a host command, as scripts/package writes it.
cmake --preset native >/dev/null
cmake --build "$root/build/native" -j 3 --target kv-default-layout >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/build/native/tools/keylayout/kv-default-layout" "$work/Default.kbl"
for program in src/app/Korvanel.exe src/uninstaller/korvanel-uninstall.exe src/installer/app/DravellInstaller.exe; do
  "$strip" -o "$work/$(basename "$program")" "$build/$program"
done
sed -e "s|@KORVANEL_EXE@|Z:$work/Korvanel.exe|g" \
    -e "s|@UNINSTALLER_EXE@|Z:$work/korvanel-uninstall.exe|g" \
    -e "s|@DEFAULT_KBL@|Z:$work/Default.kbl|g" \
    -e "s|@SOURCE_DIR@|Z:$root/packaging/korvanel|g" "$root/packaging/korvanel/description.json" >"$work/description.json"
"$build/wine-run.sh" "$build/tools/installbench/package-install-time.exe" "Z:$work/DravellInstaller.exe" \
  "Z:$work/description.json" "Z:$work/bench" | tr -d '\r'
