#!/usr/bin/env bash
# Builds one variant (plain or asan) incrementally into build/<variant>.
set -euo pipefail
cd "$(dirname "$0")/.."
variant=$1
options=()
[ "$variant" = asan ] && options=(-DKELVO_SANITIZE=ON)
if [ ! -f "build/$variant/CMakeCache.txt" ]; then
  cmake -S . -B "build/$variant" "${options[@]}" >/dev/null
fi
cmake --build "build/$variant" -j "$(nproc)"
