#!/usr/bin/env bash
# Installs the Debian packages the suite needs to build, test and run.
# Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  googletest libgtest-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  # At run time: Qt's own Chinese texts (standard buttons), a display for the
  # windows without a screen, and the fonts the windows and the printed report use
  # (serif Latin text; Chinese that reads back from a PDF as the characters typed).
  qt6-translations-l10n xvfb xauth
  fonts-dejavu-core fonts-urw-base35 fonts-noto-cjk fonts-droid-fallback
  # Tests read printed PDFs back as text.
  poppler-utils
  # The installed suite: its desktop entries and metainfo are validated, and
  # the Debian package's dependencies come from dpkg-shlibdeps.
  desktop-file-utils appstream dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "install-deps: installing ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
