#!/usr/bin/env bash
# Installs what the build, the application and the tests need on Debian 12.
# Does nothing when every package is already present.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qtbase5-dev qtbase5-dev-tools
    libqt5serialport5-dev libqt5charts5-dev
    qtmultimedia5-dev libqt5multimedia5-plugins libqt5svg5-dev
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-alsa
    xvfb xauth xfonts-base
    openssl
    clang-format git
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$p")
    fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
