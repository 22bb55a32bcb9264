#!/usr/bin/env bash
# Writes a song made of another played TIMES over, each track's events repeated after the song's
# length: the large real song of the playback timing runs.
#   repeat_song.sh IN.mid OUT.mid [TIMES]
# Needs midicsv and csvmidi (scripts/setup installs them).
set -euo pipefail
in=$1 out=$2 times=${3:-4}
midicsv "$in" | awk -F', *' -v times="$times" '
  { line[NR] = $0; track[NR] = $1; tick[NR] = $2; type[NR] = $3 }
  $3 == "End_track" && $2 + 0 > length_ { length_ = $2 + 0 }
  END {
    for (i = 1; i <= NR; i++) {
      if (type[i] == "Header" || type[i] == "Start_track" || type[i] == "End_of_file") { print line[i]; continue }
      if (type[i] != "End_track") { own[track[i], ++count[track[i]]] = i; continue }
      for (k = 0; k < times; k++)
        for (j = 1; j <= count[track[i]]; j++) {
          e = own[track[i], j]; rest = line[e]; sub(/^[^,]*, *[^,]*, */, "", rest)
          print track[e] ", " tick[e] + k * length_ ", " rest
        }
      print track[i] ", " length_ * times ", End_track"
    }
  }' | csvmidi - "$out"
