#!/usr/bin/env bash
# Builds one variant (plain or asan) incrementally into build/<variant>: everything, or only the
# targets named after the variant (tools/build.sh plain kelvo builds the program alone).
set -euo pipefail
cd "$(dirname "$0")/.."
variant=$1
shift
options=()
[ "$variant" = asan ] && options=(-DKELVO_SANITIZE=ON)
if [ ! -f "build/$variant/CMakeCache.txt" ]; then
  cmake -S . -B "build/$variant" "${options[@]}" >/dev/null
fi
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done
cmake --build "build/$variant" -j "$(nproc)" "${targets[@]}"
