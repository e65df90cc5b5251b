#!/usr/bin/env bash
# Builds the suite and starts the launcher from the suite folder; it starts
# the programmer chosen in it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default
cmake --build --preset default
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: built into build/suite/; Varo needs a display (DISPLAY or WAYLAND_DISPLAY)" >&2
  exit 2
fi
exec build/suite/Varo
