#!/usr/bin/env bash
# Fails when a C++ file of the checkout differs from the house format (.clang-format at the root).
# The files are the ones git tracks; without git or a .git folder (an exported tree), every
# .cpp and .h outside the build folders.
set -euo pipefail
cd "$(dirname "$0")/.."
me=${0##*/}

if ! command -v clang-format >/dev/null; then
    echo "$me: clang-format is not installed; tools/install-deps.sh installs it" \
        "(Debian package clang-format)" >&2
    exit 2
fi

files=()
tracked=no
if [ ! -e .git ]; then
    from="no .git here, so every C++ file outside the build folders"
elif ! command -v git >/dev/null; then
    from="git is not installed, so every C++ file outside the build folders"
else
    # A checkout owned by another user is still read: the exception is given to this one command
    # for this one folder, not to git at large.
    listed=$(mktemp)
    trap 'rm -f "$listed"' EXIT
    if git -c safe.directory="$(pwd -P)" ls-files -z '*.cpp' '*.h' >"$listed"; then
        mapfile -d '' files <"$listed"
        from="the files git tracks"
        tracked=yes
    else
        from="git could not list the files (above), so every C++ file outside the build folders"
    fi
fi
if [ $tracked = no ]; then
    # A folder holding a CMakeCache.txt is a build folder, whatever its name.
    mapfile -d '' files < <(find . \( -name .git -o -name .cache -o -path './build*' -o -type d \
        -exec test -e '{}/CMakeCache.txt' \; \) -prune -o -type f \
        \( -name '*.cpp' -o -name '*.h' \) -printf '%P\0' | sort -z)
fi
if [ ${#files[@]} -eq 0 ]; then
    echo "$me: found no C++ file to check ($from)" >&2
    exit 1
fi

if ! printf '%s\0' "${files[@]}" | xargs -0 clang-format --dry-run -Werror; then
    echo "$me: the files named above differ from .clang-format (of ${#files[@]} checked:" \
        "$from); 'clang-format -i FILE' rewrites one in the house format" >&2
    exit 1
fi
echo "$me: ${#files[@]} C++ files match .clang-format ($from)"
