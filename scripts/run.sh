#!/usr/bin/env bash
# Builds the suite and starts it. Until the programs with windows exist, this
# builds everything and says what can be run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default
cmake --build --preset default
echo "Built into build/suite/: $(ls build/suite | tr '\n' ' ')"
