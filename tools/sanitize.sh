#!/usr/bin/env bash
# The CI step after ./test.sh: the suites of the libraries without widgets (decoder, link with
# its end-to-end suite over a pseudo-terminal, logging) and the replay of every fuzz target's
# corpus, built with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/. Any
# sanitizer report fails the step; the system libraries' known leaks are suppressed by
# tools/lsan-qt.supp.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}

./tools/install-deps.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
    -DVD_SANITIZE=ON >/dev/null

suites=()
for source in tests/decoder/tst_*.cpp tests/link/tst_*.cpp tests/logging/tst_*.cpp; do
    suites+=("$(basename "$source" .cpp)")
done
cmake --build build-asan --parallel "$jobs" --target "${suites[@]}" fuzz_targets

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan-qt.supp:print_suppressions=0"
cd build-asan
ctest --output-on-failure --no-tests=error --parallel "$jobs" \
    -R "^($(IFS='|'; echo "${suites[*]}"))\$|^fuzz_"
