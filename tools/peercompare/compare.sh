#!/usr/bin/env bash
# Copies the shared LWO2 and 3D Studio samples (without their pictures) and the benchmark's
# generated 1 MB and 10 MB files (with the 8 x 8 picture the LWO2 grids name) into a temporary
# folder, loads each with the engine (kelvobench --files) and with Irrlicht (peercompare), and
# prints both medians and their ratio per file.
set -euo pipefail
cd "$(dirname "$0")/../.."
bench=build/plain/bench/kelvobench
peer=build/peercompare/peercompare
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
( cd ../shared/models && find LWO/LWO2 3DS -type f \( -iname '*.lwo' -o -iname '*.3ds' \) ) | while read -r f; do
  mkdir -p "$work/$(dirname "$f")"
  cp "../shared/models/$f" "$work/$f"
  chmod u+w "$work/$f"
done
mkdir -p "$work/generated"
tools/headless.sh "$bench" --write "$work/generated"
# The engine finds pictures from the folder it loads from, Irrlicht also beside the object.
cp "$work/generated/grid.jpg" "$work/grid.jpg"
tools/headless.sh "$bench" --files "$work" | sort > "$work/engine.txt"
# One process per file: Irrlicht crashes on some of the samples.
peer=$(realpath "$peer")
( cd "$work" && find . -type f \( -iname '*.lwo' -o -iname '*.3ds' \) | sed 's|^\./||' | sort | while read -r f; do
    timeout 60 "$peer" "$f" 2>/dev/null || printf "%s\tcrashed\n" "$f"
  done ) | sort > "$work/peer.txt"
printf "file\tengine ms\tirrlicht ms\tratio\n"
join -t $'\t' "$work/engine.txt" "$work/peer.txt" | awk -F'\t' '
  $2 !~ /^[0-9.]+$/ || $3 !~ /^[0-9.]+$/ { print $1 "\t" $2 "\t" $3 "\t-"; next }
  { printf "%s\t%s\t%s\t%.2f\n", $1, $2, $3, ($3 > 0 ? $2 / $3 : 0) }'
