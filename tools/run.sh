#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the data file beside it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/install-deps.sh"
"$root/tools/build.sh" "$root/build"
# The build leaves build/DULVANE.INI (your name and the data file's path) and an empty
# build/data/dulvane.mdb beside the program.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: starting the program under Xvfb (xvfb-run)."
  exec xvfb-run -a "$root/build/dulvane"
fi
exec "$root/build/dulvane"
