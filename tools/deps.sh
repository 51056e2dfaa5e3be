#!/usr/bin/env bash
# Installs the Debian packages the engine builds and runs with, only those that are missing.
set -euo pipefail

# x11-xserver-utils brings xset, with which tools/has-display.sh asks whether a display answers.
packages=(g++ cmake make pkg-config libgtest-dev libsdl1.2-dev libsdl-mixer1.2-dev libxerces-c-dev
          libjpeg62-turbo-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri xvfb xauth x11-xserver-utils)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q </dev/null
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
fi
