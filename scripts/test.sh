#!/usr/bin/env bash
# Builds the suite and runs every test: the whole suite (the install test
# among them), then the plain C++ core again under AddressSanitizer and UBSan.
# The Debian package is made from the default build (build/varo_*.deb) and its
# information and contents are listed. VARO_WERROR=ON (as the CI run sets it)
# turns compiler warnings into errors.
set -euo pipefail
cd "$(dirname "$0")/.."
werror="-DVARO_WERROR=${VARO_WERROR:-OFF}"
scripts/install-deps.sh
cmake --preset default "$werror"
cmake --build --preset default
ctest --preset default
(cd build && cpack -G DEB)
deb="$(ls build/varo_*.deb)"
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"
# The programs link Debian's Qt, whose platform plugins Qt loads at run time.
for needed in libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins; do
  dpkg-deb --field "$deb" Depends | grep -q "$needed" || {
    echo "test.sh: $deb does not depend on $needed" >&2
    exit 1
  }
done
cmake --preset asan "$werror"
cmake --build --preset asan
ctest --preset asan
