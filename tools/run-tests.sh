#!/usr/bin/env bash
# Runs ctest for each named build variant; fails when any variant fails.
set -uo pipefail
cd "$(dirname "$0")/.."
variants=$1; shift
export SDL_AUDIODRIVER=dummy
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for variant in $variants; do
  echo "== tests: $variant build"
  ctest --test-dir "build/$variant" -j "$(nproc)" --output-on-failure "$@" || status=1
done
exit $status
