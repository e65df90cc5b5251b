#!/usr/bin/env bash
# Builds the suite and starts the launcher from the suite folder; it starts
# the programmer chosen in it.
#
# With no radio at hand, a simulated 16-channel radio (varo-radiosim, holding
# resources/demo/Demo16.dat) stands behind COM1 for this run: the launcher and
# the programmer it starts see VARO_PORT_COM1 pointing at the simulator's
# terminal, and Varo16 shows "COM1: simulated radio" in its status bar. The
# simulator stops once the launcher and every programmer of this run have
# ended, or on Ctrl+C.
#
#   scripts/run.sh              the suite with the simulated radio on COM1
#   scripts/run.sh --no-radio   the suite alone, for a real programming cable
set -euo pipefail
cd "$(dirname "$0")/.."

simulate=1
case "${1:-}" in
  "") ;;
  --no-radio) simulate=0 ;;
  *)
    echo "usage: scripts/run.sh [--no-radio]" >&2
    exit 2
    ;;
esac

scripts/install-deps.sh
cmake --preset default
# Only what this script starts: the programs and the delivered files of the
# suite folder (scripts/test.sh builds the tests).
cmake --build --preset default --target suite
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: built into build/suite/; Varo needs a display (DISPLAY or WAYLAND_DISPLAY)" >&2
  exit 2
fi
if [ "$simulate" -eq 0 ]; then
  exec build/suite/Varo
fi

run_dir="$(mktemp -d "${TMPDIR:-/tmp}/varo-run.XXXXXX")"
link="$run_dir/COM1"
radio_pid=""

stop_radio() {
  if [ -n "$radio_pid" ] && kill -0 "$radio_pid" 2>/dev/null; then
    kill -TERM "$radio_pid" 2>/dev/null || true
    wait "$radio_pid" 2>/dev/null || true
  fi
  radio_pid=""
  rm -rf "$run_dir"
}
trap stop_radio EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

build/suite/varo-radiosim --paced --load resources/demo/Demo16.dat --link "$link" \
  >"$run_dir/radiosim.out" 2>"$run_dir/radiosim.log" &
radio_pid=$!
for _ in $(seq 50); do
  [ -e "$link" ] && break
  if ! kill -0 "$radio_pid" 2>/dev/null; then break; fi
  sleep 0.1
done
if [ ! -e "$link" ]; then
  echo "run.sh: the simulated radio did not start:" >&2
  cat "$run_dir/radiosim.log" >&2
  exit 1
fi
echo "run.sh: simulated radio on COM1 ($link)"

# Only the launcher and what it starts carry the redirection; this shell and
# the simulator do not, so the variable marks the programs of this run.
VARO_PORT_COM1="$link" build/suite/Varo || true

# The programmer runs detached from the launcher; wait for every process of
# this run to end before the radio goes.
running() { grep -qzxF -- "VARO_PORT_COM1=$link" /proc/[0-9]*/environ 2>/dev/null; }
if running; then
  echo "run.sh: the simulated radio stays on COM1 until the programmer is closed"
  while running; do sleep 1; done
fi
