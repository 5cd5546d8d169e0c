#!/usr/bin/env bash
# Installs what the build, the application and the tests need on Debian 12, or the Debian
# packages named as arguments instead. Does nothing when every package is already present.
# Installing takes root: run as root, or as a user who may use sudo.
set -euo pipefail
me=${0##*/}

packages=(
    build-essential cmake ninja-build pkg-config
    qtbase5-dev qtbase5-dev-tools
    libqt5serialport5-dev libqt5charts5-dev
    qtmultimedia5-dev libqt5multimedia5-plugins libqt5svg5-dev
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-alsa
    xvfb xauth xfonts-base
    openssl tzdata
    clang-format git
)
[ $# -gt 0 ] && packages=("$@")

if ! command -v dpkg-query >/dev/null; then
    echo "$me: not a Debian system, so nothing is installed; the build needs the equivalents" \
        "of: ${packages[*]}" >&2
    exit 0
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "$me: every Debian package needed is installed (${#packages[@]} checked)"
    exit 0
fi

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "$me: these Debian packages are missing: ${missing[*]}" >&2
        echo "$me: installing them takes root, and sudo is not installed; run this as root," \
            "or install sudo, or have root run:" >&2
        echo "    apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
    SUDO=(sudo)
fi
echo "$me: installing ${missing[*]}"
"${SUDO[@]}" apt-get update -qq
# sudo drops the environment, so the front end goes through env.
"${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
echo "$me: installed ${#missing[@]} Debian packages"
