#!/usr/bin/env bash
# Compares the engine's model loads with every peer library built in build/peercompare (Irrlicht,
# assimp, lib3ds for 3D Studio files only, OpenSceneGraph), on the same files in the same run, and
# the engine's first frame with a bare SDL window's. Prints four tables:
#   warm    per file, each side's median over ROUNDS processes of its median of the loads after
#           the first in one process (LOADS loads in all, 6 unless set)
#   cold    per file, each side's median over ROUNDS processes of the first load in a fresh
#           process: what a show that loads a model once waits for
#   triangles  what each side's first load made, to see that the sides load the same thing
#   first frame  milliseconds from exec to the first SDL_GL_SwapBuffers returning, the bundled
#           show against a bare 640x480 SDL 1.2 OpenGL window, median of FRAMES processes each (9)
# and the messages of the files the engine refuses.
# The files: the shared LWO2 and 3D Studio samples, the bundled show's garden and signpost, and the
# benchmark's generated 100 KB, 1 MB and 10 MB grids (the LWO2 grids tag every polygon with a
# surface and give every corner a UV), copied into a temporary folder with the pictures they name (the shared JPEGs, or a
# small JPEG made under a name that is not at hand), both where the engine looks (the folder it
# loads from, by the bare file name; a 3D Studio name in lower case with the extension "jpg") and
# beside the model, where the peers look.
#
# This machine is shared and its speed changes over seconds: each file is loaded by every side
# right after each other, each in a process of its own, the order of the sides turning from file
# to file, in ROUNDS rounds (6 unless set); the first-frame runs alternate likewise. A side that
# refuses a file, crashes on it or takes longer than PEER_TIMEOUT seconds (20 unless set) for one
# process is reported so and not given the file again. The figures are indicative; the ratios of
# the alternated runs are what count.
set -euo pipefail
cd "$(dirname "$0")/../.."
# One X display for every process of the run; without a display, no sound device either.
if ! tools/has-display.sh; then
  SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} exec tools/headless.sh "$0" "$@"
fi
rounds=${ROUNDS:-6}
loads=${LOADS:-6}
frames=${FRAMES:-9}
limit=${PEER_TIMEOUT:-20}
root=$(pwd)
bench=$root/build/plain/bench/kelvobench
program=$root/build/plain/kelvo
tools=$root/build/peercompare
shared=$(realpath ../shared/models)
for needed in "$bench" "$program" "$tools/firstframe" "$tools/barewindow" "$tools/libfirstswap.so"; do
  [ -x "$needed" ] || [ -f "$needed" ] || { echo "compare.sh: $needed is missing (see the README's Benchmark section)" >&2; exit 1; }
done
peers=()
for p in irrlicht assimp lib3ds osg; do
  if [ -x "$tools/peer-$p" ]; then peers+=("$p"); else echo "compare.sh: no peer-$p built, left out" >&2; fi
done
sides=(engine "${peers[@]}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
models=$work/models
mkdir -p "$models/generated"

# The samples and the bundled show's two models (without their pictures; those are staged
# below) and the generated grids.
copy_models() {  # folder, its sub-folders to copy
  local from=$1
  shift
  ( cd "$from" && find "$@" -type f \( -iname '*.lwo' -o -iname '*.3ds' \) ) | while read -r f; do
    mkdir -p "$models/$(dirname "$f")"
    cp "$from/$f" "$models/$f"
    chmod u+w "$models/$f"
  done
}
copy_models "$shared" LWO/LWO2 3DS
copy_models "$root" show/garden
"$bench" --write "$models/generated" > /dev/null

# The pictures the models name. A source is the file of that name (ignoring case) beside the
# model's original, else anywhere in the shared models; only a JPEG is taken, as the engine reads
# JPEG only.
is_jpeg() { [ "$(head -c 2 "$1" | od -An -tx1 | tr -d ' \n')" = "ffd8" ]; }
stage() {  # picture source (or ""), destination
  [ -e "$2" ] && return 0
  mkdir -p "$(dirname "$2")"
  if [ -n "$1" ]; then cp "$1" "$2"; else "$bench" --jpeg "$2"; fi
}
: > "$work/made.txt"
"$bench" --pictures "$models" | while IFS=$'\t' read -r model picture; do
  dir=$(dirname "$model")
  stored=${picture//\\//}
  base=${stored##*/}
  base=${base##*:}
  # The generated grids' picture lies beside them, the show's beside its models; a sample's is
  # looked for in the shared folders.
  from=$shared/$dir
  case "$dir" in generated) from=$models/generated ;; show/*) from=$root/$dir ;; esac
  source=$(find "$from" -maxdepth 1 -iname "$base" -type f 2> /dev/null | head -n 1)
  [ -n "$source" ] || source=$(find "$shared" -iname "$base" -type f | head -n 1)
  if [ -n "$source" ] && ! is_jpeg "$source"; then source=""; fi
  [ -n "$source" ] || printf "%s\t%s\n" "$model" "$picture" >> "$work/made.txt"
  case "$model" in
    *.lwo | *.LWO)
      # The engine takes what follows the last folder separator (a volume name stays).
      stage "$source" "$models/${stored##*/}"
      ;;
    *)
      engine_name=$(printf "%s" "${stored%.*}.jpg" | tr 'A-Z' 'a-z')
      stage "$source" "$models/$engine_name"
      [ "$stored" = "$base" ] || stage "$source" "$models/$dir/$stored"
      ;;
  esac
  stage "$source" "$models/$dir/$base"
done
if [ -s "$work/made.txt" ]; then
  echo "Pictures not at hand as JPEG, made as a small grey JPEG of the name (model, name as stored):"
  sed 's/^/  /' "$work/made.txt"
  echo
fi

( cd "$models" && find . -type f \( -iname '*.lwo' -o -iname '*.3ds' \) | sed 's|^\./||' | sort ) > "$work/files.txt"
reads() {  # side file: whether the side reads the file's format
  [ "$1" != lib3ds ] && return 0
  case "$2" in *.3ds | *.3DS) return 0 ;; *) return 1 ;; esac
}
# One process of a side on a file: "<file>\t<side>\t<warm>\t<cold>\t<triangles>", or the file,
# the side and failed (with the engine's message), crashed or timeout.
measure() {
  local side=$1 file=$2 line status=0
  if [ "$side" = engine ]; then
    line=$(timeout -k 5 "$limit" "$bench" --files "$models" "$loads" "$file" < /dev/null 2> /dev/null) || status=$?
  else
    line=$(cd "$models" && timeout -k 5 "$limit" "$tools/peer-$side" "$loads" "$file" < /dev/null 2> /dev/null) || status=$?
  fi
  line=$(printf "%s\n" "$line" | grep -F "$file"$'\t' | head -n 1 || true)
  if [ "$status" -eq 124 ]; then
    printf "%s\t%s\ttimeout\n" "$file" "$side"
  elif [ "$status" -ne 0 ] || [ -z "$line" ]; then
    printf "%s\t%s\tcrashed\n" "$file" "$side"
  else
    printf "%s\n" "$line" | awk -F'\t' -v side="$side" '
      $2 ~ /^[0-9.]+$/ { print $1 "\t" side "\t" $2 "\t" $3 "\t" $4; next }
      { print $1 "\t" side "\tfailed\t" $3 }'
  fi
}

: > "$work/loads.txt"
for round in $(seq 1 "$rounds"); do
  n=0
  while read -r f; do
    n=$((n + 1))
    for k in $(seq 0 $((${#sides[@]} - 1))); do
      side=${sides[$(((k + n + round) % ${#sides[@]}))]}
      reads "$side" "$f" || continue
      # A file a side failed on is not given to it again.
      grep -qxF "$f"$'\t'"$side" "$work/given-up.txt" 2> /dev/null && continue
      result=$(measure "$side" "$f")
      printf "%s\n" "$result" >> "$work/loads.txt"
      case "$(printf "%s" "$result" | cut -f3)" in failed | crashed | timeout) printf "%s\t%s\n" "$f" "$side" >> "$work/given-up.txt" ;; esac
    done
  done < "$work/files.txt"
  echo "round $round of $rounds done" >&2
done

# The first frame, alternating which side starts.
: > "$work/frames.txt"
for i in $(seq 1 "$frames"); do
  order="engine bare"
  [ $((i % 2)) -eq 0 ] && order="bare engine"
  for side in $order; do
    if [ "$side" = engine ]; then
      ms=$(timeout -k 5 60 "$tools/firstframe" "$tools/libfirstswap.so" "$program" --timeline show/timeline.xml < /dev/null 2> /dev/null | tail -n 1) || true
    else
      ms=$(timeout -k 5 60 "$tools/firstframe" "$tools/libfirstswap.so" "$tools/barewindow" < /dev/null 2> /dev/null | tail -n 1) || true
    fi
    printf "%s\t%s\n" "$side" "${ms:-noswap}" >> "$work/frames.txt"
  done
done

# The tables. Per file and side, the median of each figure over the rounds; a side that failed on
# a file in any round shows the failure.
table() {  # field (3 warm, 4 cold), title
  echo "$2"
  awk -F'\t' -v field="$1" -v sides="${sides[*]}" '
    function median(list,    n, v, i, j, t) {
      n = split(list, v, " ")
      for (i = 2; i <= n; ++i) for (j = i; j > 1 && v[j - 1] + 0 > v[j] + 0; --j) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
      return v[int((n + 1) / 2)]
    }
    BEGIN { count = split(sides, side, " ") }
    {
      if (!($1 in seen)) { seen[$1] = 1; order[++files] = $1 }
      key = $1 SUBSEP $2
      if ($3 !~ /^[0-9.]+$/) { bad[key] = $3; next }
      values[key] = values[key] " " $field
      if (!(key in triangles)) triangles[key] = $5
    }
    END {
      header = "file\ttriangles\tengine ms"
      for (s = 2; s <= count; ++s) header = header "\t" side[s] " ms"
      print header "\tfastest peer\tengine / fastest"
      for (f = 1; f <= files; ++f) {
        name = order[f]
        key = name SUBSEP "engine"
        row = name "\t" (key in triangles ? triangles[key] : "-")
        best = ""; bestName = "-"
        for (s = 1; s <= count; ++s) {
          key = name SUBSEP side[s]
          if (key in bad) cell = bad[key]
          else if (key in values) cell = sprintf("%.3f", median(values[key]))
          else cell = "-"
          if (s == 1) engine = cell
          else if (cell ~ /^[0-9.]+$/ && (best == "" || cell + 0 < best + 0)) { best = cell; bestName = side[s] }
          row = row "\t" cell
        }
        ratio = "-"
        if (engine ~ /^[0-9.]+$/ && best != "" && best + 0 > 0) {
          ratio = sprintf("%.2f", engine / best)
          logs += log(engine / best); ratios++
        }
        print row "\t" bestName "\t" ratio
      }
      if (ratios > 0) printf "geometric mean of engine / fastest over %d files: %.2f\n", ratios, exp(logs / ratios)
    }' "$work/loads.txt"
  echo
}
sort -t $'\t' -k1,1 -s "$work/loads.txt" -o "$work/loads.txt"
echo "Irrlicht and OpenSceneGraph open the pictures a model names within its load, as the engine does;"
echo "assimp and lib3ds keep only their names. Every figure is indicative on a shared machine."
echo
table 3 "Warm loads (ms, median over $rounds processes of the median of $((loads > 1 ? loads - 1 : 1)) loads after the first)"
table 4 "Cold loads (ms, median over $rounds processes of the first load in a fresh process)"

echo "Triangles each side's first load made"
awk -F'\t' -v sides="${sides[*]}" '
  BEGIN { count = split(sides, side, " ") }
  {
    if (!($1 in seen)) { seen[$1] = 1; order[++files] = $1 }
    key = $1 SUBSEP $2
    if ($3 !~ /^[0-9.]+$/) { if (!(key in cell)) cell[key] = $3; next }
    cell[key] = $5
  }
  END {
    header = "file"
    for (s = 1; s <= count; ++s) header = header "\t" side[s]
    print header
    for (f = 1; f <= files; ++f) {
      row = order[f]
      for (s = 1; s <= count; ++s) row = row "\t" ((order[f] SUBSEP side[s]) in cell ? cell[order[f], side[s]] : "-")
      print row
    }
  }' "$work/loads.txt"
echo

echo "First frame (ms from exec to the first SDL_GL_SwapBuffers returning, median of $frames processes each)"
awk -F'\t' '
  function median(list,    n, v, i, j, t) {
    n = split(list, v, " ")
    for (i = 2; i <= n; ++i) for (j = i; j > 1 && v[j - 1] + 0 > v[j] + 0; --j) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
    return v[int((n + 1) / 2)]
  }
  $2 ~ /^[0-9.]+$/ { values[$1] = values[$1] " " $2; next }
  { failed[$1]++ }
  END {
    print "engine (bundled show) ms\tbare SDL window ms\tratio\truns without a swap"
    e = ("engine" in values) ? median(values["engine"]) : "-"
    b = ("bare" in values) ? median(values["bare"]) : "-"
    printf "%s\t%s\t%s\t%d\n", e, b, (e ~ /^[0-9.]+$/ && b + 0 > 0 ? sprintf("%.2f", e / b) : "-"), failed["engine"] + failed["bare"]
  }' "$work/frames.txt"
echo
echo "Files the engine refuses (the end of its message)"
awk -F'\t' '$2 == "engine" && $3 == "failed" { m = $4; if (length(m) > 220) m = "..." substr(m, length(m) - 219); print $1 ": " m }' "$work/loads.txt"
