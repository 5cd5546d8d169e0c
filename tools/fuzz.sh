#!/usr/bin/env bash
# Fuzzes one target of fuzz/ with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer for a given time:
#
#     tools/fuzz.sh <target> <seconds> [libFuzzer options...]
#
# clang, its runtime and llvm-symbolizer (for readable stacks) come from Debian's packages and
# are installed here when missing. The build goes to build-fuzz/; new inputs collect in
# build-fuzz/corpus/<target> (the committed seeds in fuzz/corpus/<target> are only read),
# findings in build-fuzz/findings/<target>/ and, with -jobs=N, the jobs' logs in
# build-fuzz/fuzz-<job>.log. With FORK=N the run goes on past findings in N
# processes. A new finding belongs in fuzz/pending/<target>/ until its fault is mended, then in
# fuzz/corpus/<target>/, where the replay test keeps it.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 2 ] || { sed -n '2,13p' "$0"; exit 2; }
target=$1
seconds=$2
shift 2
[ -f "fuzz/$target.cpp" ] || { echo "no fuzz target fuzz/$target.cpp" >&2; exit 2; }

./tools/install-deps.sh
# The plain name comes with Debian's llvm package, the versioned one with llvm-<version> alone.
find_symbolizer() {
    command -v llvm-symbolizer || compgen -c llvm-symbolizer- | sort -V | tail -n 1 | grep . ||
        return 1
}
probe='extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }'
packages=()
if ! echo "$probe" | clang++ -fsanitize=fuzzer -x c++ - -o /dev/null 2>/dev/null; then
    packages+=(clang libclang-rt-dev)
fi
find_symbolizer >/dev/null || packages+=(llvm)
[ ${#packages[@]} -eq 0 ] || ./tools/install-deps.sh "${packages[@]}"
# The sanitizer runtime looks for the plain name only.
symbolizer=$(find_symbolizer) || { echo "no llvm-symbolizer found" >&2; exit 1; }
symbolizer=$(command -v "$symbolizer")

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DVD_SANITIZE=ON -DVD_LIBFUZZER=ON >/dev/null
cmake --build build-fuzz --parallel "${JOBS:-$(nproc)}" --target "fuzz_$target"

work=$PWD/build-fuzz
mkdir -p "$work/corpus/$target" "$work/findings/$target" "$work/home/$target"
options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1
         -artifact_prefix="$work/findings/$target/")
case $target in
settings | datalog) options+=(-dict="$PWD/fuzz/dict/$target.dict") ;;
orvastream | orvaframes | brq | legacyorva | decoder) options+=(-dict="$PWD/fuzz/dict/link.dict") ;;
esac
# A key file is read up to 64 KiB, and the BRQ receive buffer holds as much: the default length
# limit would never pass either.
case $target in keyfile | brq) options+=(-max_len=70000) ;; esac
[ -n "${FORK:-}" ] && options+=(-fork="$FORK" -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1)

export HOME=$work/home/$target TZ=UTC QT_QPA_PLATFORM=offscreen
export ASAN_SYMBOLIZER_PATH=$symbolizer
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan-qt.supp:print_suppressions=0"
seeds=$PWD/fuzz/corpus/$target
# With -jobs=N each job logs to fuzz-<job>.log in the folder it runs in, build-fuzz/; inputs
# named on the command line are found from there.
extra=()
for arg in "$@"; do
    if [ -e "$arg" ]; then extra+=("$(realpath "$arg")"); else extra+=("$arg"); fi
done
cd "$work"
status=0
"$work/fuzz/fuzz_$target" "${options[@]}" "${extra[@]}" "$work/corpus/$target" "$seeds" ||
    status=$?
echo "findings in build-fuzz/findings/$target: $(find "$work/findings/$target" -type f | wc -l)"
exit $status
