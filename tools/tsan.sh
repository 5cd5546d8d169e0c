#!/usr/bin/env bash
# The suites whose code runs on the worker threads (the link worker, the window with its link and
# logging threads), built with ThreadSanitizer in build-tsan/. Any report fails the run. Qt is
# not instrumented: tools/tsan-qt.supp names the few reports whose ordering goes through Qt's own
# locks, which ThreadSanitizer cannot see. A manual tool, not a CI step.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}
suites=(tst_endtoend tst_linkworker tst_serialport tst_orvaframing tst_brqprotocol
        tst_orvaresponses tst_moduleresponses tst_devicestartup tst_encryptionkey tst_mainwindow)

./tools/install-deps.sh
# Without inlining, Qt's template code that the suppressions name keeps a frame of its own.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g -fno-inline" -DVD_TSAN=ON >/dev/null
cmake --build build-tsan --parallel "$jobs" --target "${suites[@]}"

# Accesses inside uninstrumented libraries (Qt, the C library) are not checked; every access in
# our code is, and a report fails the suite (exit code 66) once it has run to its end.
export TSAN_OPTIONS="ignore_noninstrumented_modules=1:second_deadlock_stack=1\
:suppressions=$PWD/tools/tsan-qt.supp:print_suppressions=0"
cd build-tsan
ctest --output-on-failure --no-tests=error --parallel "$jobs" \
    -R "^($(IFS='|'; echo "${suites[*]}"))\$"
