#!/usr/bin/env bash
# Copies the shared LWO2 and 3D Studio samples (without their pictures) and the benchmark's
# generated 1 MB and 10 MB files (with the 8 x 8 picture the LWO2 grids name) into a temporary
# folder, loads each with the engine (kelvobench --files) and with Irrlicht (peercompare), and
# prints both medians of five loads and their ratio per file.
#
# This machine is shared and its speed changes over seconds, so each file is loaded by both sides
# right after each other, each in a process of its own, in ROUNDS rounds (5 unless set); a side's
# figure for a file is the median of its rounds.
set -euo pipefail
cd "$(dirname "$0")/../.."
# One X display for every engine process of the run.
if ! tools/has-display.sh; then
  exec tools/headless.sh "$0" "$@"
fi
rounds=${ROUNDS:-5}
bench=$(realpath build/plain/bench/kelvobench)
peer=$(realpath build/peercompare/peercompare)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
( cd ../shared/models && find LWO/LWO2 3DS -type f \( -iname '*.lwo' -o -iname '*.3ds' \) ) | while read -r f; do
  mkdir -p "$work/$(dirname "$f")"
  cp "../shared/models/$f" "$work/$f"
  chmod u+w "$work/$f"
done
mkdir -p "$work/generated"
"$bench" --write "$work/generated"
# The engine finds pictures from the folder it loads from, Irrlicht also beside the object.
cp "$work/generated/grid.jpg" "$work/grid.jpg"
( cd "$work" && find . -type f \( -iname '*.lwo' -o -iname '*.3ds' \) | sed 's|^\./||' | sort ) > "$work/files.txt"
: > "$work/engine.txt"
: > "$work/peer.txt"
for round in $(seq 1 "$rounds"); do
  while read -r f; do
    "$bench" --files "$work" 5 "$f" < /dev/null >> "$work/engine.txt"
    # Irrlicht crashes on some of the samples, and hangs on others.
    ( cd "$work" && timeout 10 "$peer" "$f" < /dev/null 2>/dev/null || printf "%s\tcrashed\n" "$f" ) |
      grep -F "$f" >> "$work/peer.txt" || true
  done < "$work/files.txt"
  # Only the files both sides load are loaded again.
  cat "$work/engine.txt" "$work/peer.txt" | awk -F'\t' '$2 !~ /^[0-9.]+$/ { print $1 }' | sort -u > "$work/refused.txt"
  grep -vxF -f "$work/refused.txt" "$work/files.txt" > "$work/again.txt" || true
  mv "$work/again.txt" "$work/files.txt"
done
# Per file, the median of the rounds' figures; a file that failed in any round stays failed.
median() {
  sort -t $'\t' -k1,1 -k2,2g "$1" | awk -F'\t' '
    function flush() {
      if (name == "") return
      if (bad != "") print name "\t" bad; else print name "\t" v[int((n + 1) / 2)]
    }
    $1 != name { flush(); name = $1; n = 0; bad = "" }
    $2 ~ /^[0-9.]+$/ { v[++n] = $2; next }
    { bad = $2 }
    END { flush() }' | sort
}
median "$work/engine.txt" > "$work/engine-median.txt"
median "$work/peer.txt" > "$work/peer-median.txt"
printf "file\tengine ms\tirrlicht ms\tratio\n"
join -t $'\t' "$work/engine-median.txt" "$work/peer-median.txt" | awk -F'\t' '
  $2 !~ /^[0-9.]+$/ || $3 !~ /^[0-9.]+$/ { print $1 "\t" $2 "\t" $3 "\t-"; next }
  { printf "%s\t%s\t%s\t%.2f\n", $1, $2, $3, ($3 > 0 ? $2 / $3 : 0) }'
