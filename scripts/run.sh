#!/usr/bin/env bash
# Builds the suite and starts the launcher from the suite folder; it starts
# the programmer chosen in it.
#
# With no radio at hand, each programmer gets a simulated radio of its own
# model behind its COM1 for this run (varo-radiosim): a 16-channel radio
# holding resources/demo/Demo16.dat for Varo16 (VARO_PORT_VARO16_COM1) and a
# 199-channel radio holding resources/demo/Demo199.dat for Varo199V3
# (VARO_PORT_VARO199V3_COM1). The launcher and the programmers it starts
# carry these variables; a programmer shows "COM1: simulated radio" in its
# status bar. The simulators stop once the launcher and every programmer of
# this run have ended, or on Ctrl+C.
#
#   scripts/run.sh              the suite with the simulated radios on COM1
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
radio_pids=()

stop_radios() {
  for pid in "${radio_pids[@]}"; do
    if kill -0 "$pid" 2>/dev/null; then
      kill -TERM "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
    fi
  done
  radio_pids=()
  rm -rf "$run_dir"
}
trap stop_radios EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# start_radio MODEL DEMO LINK: a paced simulated radio of MODEL holding DEMO,
# reachable at LINK once this returns.
start_radio() {
  build/suite/varo-radiosim --model "$1" --paced --load "$2" --link "$3" \
    >"$3.out" 2>"$3.log" &
  radio_pids+=("$!")
  local pid=$!
  for _ in $(seq 50); do
    [ -e "$3" ] && return 0
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "run.sh: the simulated $1-channel radio did not start:" >&2
  cat "$3.log" >&2
  exit 1
}

link16="$run_dir/varo16-COM1"
link199="$run_dir/varo199v3-COM1"
start_radio 16 resources/demo/Demo16.dat "$link16"
start_radio 199 resources/demo/Demo199.dat "$link199"
echo "run.sh: simulated radios on COM1: 16-channel for Varo16 ($link16)," \
  "199-channel for Varo199V3 ($link199)"

# Only the launcher and what it starts carry the redirections; this shell and
# the simulators do not, so the variables mark the programs of this run. Each
# programmer takes the variable with its own name ahead of VARO_PORT_COM1.
VARO_PORT_VARO16_COM1="$link16" VARO_PORT_VARO199V3_COM1="$link199" build/suite/Varo || true

# A programmer runs detached from the launcher; wait for every process of
# this run to end before the radios go.
running() { grep -qzxF -- "VARO_PORT_VARO16_COM1=$link16" /proc/[0-9]*/environ 2>/dev/null; }
if running; then
  echo "run.sh: the simulated radios stay on COM1 until the programmers are closed"
  while running; do sleep 1; done
fi
