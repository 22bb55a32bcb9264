#!/usr/bin/env bash
# Start-up time of Korvanel.exe under Wine: from the start of the process to the first paint of
# its main window (the driver's wait returns once the window is shown and has answered a message
# after painting), then the program is closed. Prints each run and the median, in milliseconds.
#   bench/korvanel/startup.sh [runs] [preset]     (inside an X server: scripts/with-xvfb bench/...)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
runs=${1:-5}
preset=${2:-win64}
build="$root/build/$preset"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/src/app/Korvanel.exe" "$work/"
export KV_MIDI_FAKE="in=Keys;out=Synth"
# One start first, so that Wine's own processes are up and the prefix is warm.
times=()
for i in $(seq 0 "$runs"); do
  start=$(date +%s%N)
  "$build/wine-run.sh" "$work/Korvanel.exe" &
  program=$!
  "$build/wine-run.sh" "$build/tools/korvaneldriver/korvaneldriver.exe" wait 120 >/dev/null
  end=$(date +%s%N)
  "$build/wine-run.sh" "$build/tools/korvaneldriver/korvaneldriver.exe" close 30
  wait $program
  [ "$i" -eq 0 ] && continue
  ms=$(( (end - start) / 1000000 ))
  times+=("$ms")
  echo "run $i: $ms ms"
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
echo "median start-up to first paint: $median ms"
