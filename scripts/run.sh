#!/usr/bin/env bash
# Builds the suite and starts the Varo16 programmer from the suite folder
# (until the launcher exists). Arguments are passed on: a .dat file to open.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default
cmake --build --preset default
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: built into build/suite/; Varo16 needs a display (DISPLAY or WAYLAND_DISPLAY)" >&2
  exit 2
fi
exec build/suite/Varo16 "$@"
