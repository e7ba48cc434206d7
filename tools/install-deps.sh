#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the demo need,
# when any is missing.
set -euo pipefail

# libqt6opengl6-dev: Debian's qt6-charts-dev lacks it, yet Qt Charts' CMake
# package needs it. python3: the end-to-end tests' transcript matcher;
# x11-utils: the benchmark waits for the window with xwininfo. file: cpack
# finds the programs to give dpkg-shlibdeps with it; desktop-file-utils: the
# package test checks the menu entry; xdotool: the window soak clicks the
# window as an operator would.
packages=(
  build-essential cmake ninja-build clang-format ccache
  clang libclang-rt-14-dev
  qt6-base-dev qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev libgtest-dev libgmock-dev nlohmann-json3-dev
  fonts-wqy-microhei
  xvfb xauth imagemagick x11-utils xdotool
  python3
  file desktop-file-utils poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
