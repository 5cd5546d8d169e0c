#!/usr/bin/env bash
# Installs what the build, the application and the tests need on Debian 12, or the Debian
# packages named as arguments instead. Does nothing when every package is already present.
# Installing takes root: run as root, or as a user who may use sudo.
#
# With --check it installs nothing: it names what the build itself lacks (its tools and the Qt
# development packages, or qmake where there is no dpkg) and exits 1 if anything is missing.
# build.sh runs it so; it uses only shell builtins where there is no dpkg, so that it speaks on
# however bare a PATH.
set -euo pipefail
me=${0##*/}

# What the build runs: "name|commands, any one of which will do|Debian package".
build_tools=(
    "cmake|cmake|cmake"
    "ninja|ninja ninja-build|ninja-build"
    "a C++ compiler|${CXX:-c++ g++ clang++}|build-essential"
)
# What the build compiles against.
qt_packages=(
    qtbase5-dev qtbase5-dev-tools
    libqt5serialport5-dev libqt5charts5-dev qtmultimedia5-dev libqt5svg5-dev
)
packages=(
    "${build_tools[@]##*|}" pkg-config
    "${qt_packages[@]}"
    libqt5multimedia5-plugins
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-alsa
    xvfb xauth xfonts-base
    openssl tzdata
    clang-format git
)

installed() {
    [[ $(dpkg-query -W -f='${Status}' "$1" 2>/dev/null) == 'install ok installed' ]]
}

check_build() {
    local lacking=() needed=() entry name commands package cmd found
    for entry in "${build_tools[@]}"; do
        IFS='|' read -r name commands package <<<"$entry"
        found=
        for cmd in $commands; do
            if command -v "$cmd" >/dev/null; then
                found=yes
                break
            fi
        done
        if [ -z "$found" ]; then
            lacking+=("$name")
            needed+=("$package")
        fi
    done
    local debian=
    if command -v dpkg-query >/dev/null; then
        debian=yes
        for package in "${qt_packages[@]}"; do
            if ! installed "$package"; then
                lacking+=("$package")
                needed+=("$package")
            fi
        done
    elif ! command -v qmake >/dev/null && ! command -v qmake-qt5 >/dev/null; then
        lacking+=("qmake (Qt 5 development files)")
        needed+=("${qt_packages[@]}")
    fi
    [ ${#lacking[@]} -eq 0 ] && return 0

    local list
    printf -v list '%s, ' "${lacking[@]}"
    echo "$me: cannot build without: ${list%, }" >&2
    if [ -n "$debian" ]; then
        echo "$me: run tools/install-deps.sh to install what is missing" \
            "(Debian packages: ${needed[*]})" >&2
    else
        echo "$me: on Debian 12, tools/install-deps.sh installs what is missing" \
            "(packages: ${needed[*]}); elsewhere install their equivalents" >&2
    fi
    return 1
}

if [ "${1:-}" = --check ]; then
    check_build
    exit
fi
[ $# -gt 0 ] && packages=("$@")

if ! command -v dpkg-query >/dev/null; then
    echo "$me: not a Debian system, so nothing is installed; the build needs the equivalents" \
        "of: ${packages[*]}" >&2
    exit 0
fi

missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
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
