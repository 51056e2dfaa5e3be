#!/usr/bin/env bash
# Builds the libFuzzer harness of one reader with clang 14 into build/fuzz and runs it headless
# for the given seconds on a corpus seeded with the kept findings (tests/fuzz/corpus/<target>),
# the bundled show's files, the shared sample models and the hostile files.
#   tools/fuzz.sh <lwo|3ds|jpeg|timeline|scene|fontset|wav> <seconds> [libFuzzer options...]
# An input that runs over 2 seconds is a finding (-timeout=2), and so is memory of our code an input
# leaves behind: leak detection is on, per input, with only the libraries' own allocations
# suppressed (tests/leakcheck/lsan.supp).
# Findings land in build/fuzz/findings/<target>/; copy them to tests/fuzz/corpus/<target>/ once
# mended, so ./check replays them.
set -euo pipefail
cd "$(dirname "$0")/.."
target=$1
seconds=$2
shift 2
build=build/fuzz
# Runs of several targets at once share the build folder: one configures and builds at a time, and
# none starts a program another is still linking.
mkdir -p "$build"
exec 9>"$build/.build-lock"
flock 9
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -DKELVO_FUZZ=ON >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target "fuzz_$target" fuzz_seeds >/dev/null

corpus=$build/corpus/$target
findings=$build/findings/$target
mkdir -p "$corpus" "$findings"
find "tests/fuzz/corpus/$target" -type f ! -name '.*' -exec cp {} "$corpus/" \;
case $target in
  lwo) patterns=('*.lwo') ;;
  3ds) patterns=('*.3ds') ;;
  jpeg) patterns=('*.jpg') ;;
  timeline) patterns=('timeline.xml') ;;
  scene) patterns=('signpost.xml') ;;
  fontset) patterns=('logo.xml') ;;
  wav) patterns=('*.wav') ;;
  *) echo "fuzz.sh: no target $target" >&2; exit 2 ;;
esac
for pattern in "${patterns[@]}"; do
  for folder in show ../shared/models; do
    [ -d "$folder" ] || continue
    find "$folder" -type f -iname "$pattern" -print0 | while IFS= read -r -d '' file; do
      cp "$file" "$corpus/$(echo "$file" | tr '/' '_')"
    done
  done
done
# The hostile picture is far longer than -max_len; cut short it is only a big picture that takes
# seconds to decode, so it is left to ./check, which replays it whole.
[ "$target" = jpeg ] || "$build/fuzz_seeds" "$target" "$corpus"
exec 9>&-

export ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/tests/leakcheck/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 SDL_AUDIODRIVER=dummy
exec tools/headless.sh "$build/fuzz_$target" "$corpus" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=2 \
  -detect_leaks=1 -max_len=65536 -close_fd_mask=1 -artifact_prefix="$findings/" "$@"
