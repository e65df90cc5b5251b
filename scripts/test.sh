#!/usr/bin/env bash
# Builds the suite and runs every test: the whole suite, then the plain C++
# core again under AddressSanitizer and UBSan. VARO_WERROR=ON (as the CI run
# sets it) turns compiler warnings into errors.
set -euo pipefail
cd "$(dirname "$0")/.."
werror="-DVARO_WERROR=${VARO_WERROR:-OFF}"
scripts/install-deps.sh
cmake --preset default "$werror"
cmake --build --preset default
ctest --preset default
cmake --preset asan "$werror"
cmake --build --preset asan
ctest --preset asan
