#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, only those missing.
# xvfb, xdotool and imagemagick run the end-to-end tests on a private X server
# (tests/e2e) and take their screenshots.
set -euo pipefail
pkgs=(cmake ninja-build g++ pkg-config ccache
      qt6-base-dev qt6-qpa-plugins libgl-dev
      libgtest-dev libgmock-dev libbenchmark-dev
      fonts-liberation fonts-dejavu-core
      xvfb xdotool imagemagick
      clang-14 libclang-rt-14-dev clang-tidy-14
      nlohmann-json3-dev libboost-math-dev
      help2man appstream desktop-file-utils dpkg-dev)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
