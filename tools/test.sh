#!/bin/sh
# Installs the dependencies, builds the editor twice (plain, and with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs every test of
# both builds on a private X server; fuzzes the setup-file reader for a
# minute before the last test run. Ends with CTest's summary.
set -eu
cd "$(dirname "$0")/.."
sh tools/deps.sh
jobs=$(nproc)

cmake -S . -B build-asan -DSETUP_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --test-dir build-asan --output-on-failure -j"$jobs"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
# The setup-file reader under libFuzzer for about a minute.
sh tools/fuzz.sh 60
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --test-dir build --output-on-failure -j"$jobs"
