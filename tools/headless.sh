#!/usr/bin/env bash
# Runs a command with an X display: the one given when it answers, else one Xvfb for the whole
# command, always with -noreset (without it the server resets between SDL's connections).
set -euo pipefail
if "$(dirname "$0")/has-display.sh"; then
  exec "$@"
fi
unset DISPLAY
exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$@"
