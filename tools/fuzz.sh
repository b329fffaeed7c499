#!/bin/sh
# Runs the setup-file fuzzer for SECONDS (default 60) on a seed corpus of
# real setup files, those of a factory site written by setup-site. Needs
# clang and the plain build's setup-site (build/). Findings land in
# build-fuzz/findings/.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DSETUP_FUZZ=ON -DSETUP_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target setup_file_fuzzer
corpus=build-fuzz/corpus
rm -rf build-fuzz/site "$corpus" build-fuzz/findings
mkdir -p "$corpus" build-fuzz/findings
build/setup-site init build-fuzz/site >/dev/null
cp build-fuzz/site/setup_*.conf "$corpus"/
printf 'zamo.sVersion = "9.2"\nzamo.misc.lRetiredSwitch = 1\nzamo.device.def[3].idev_type = 7\n' >"$corpus"/old_version
status=0
ASAN_OPTIONS=detect_leaks=1 build-fuzz/setup_file_fuzzer -max_total_time="$seconds" -max_len=65536 \
  -artifact_prefix=build-fuzz/findings/ -print_final_stats=1 "$corpus" >build-fuzz/fuzz.log 2>&1 || status=$?
grep -E '^(Done|stat::|==[0-9]+==ERROR|SUMMARY)' build-fuzz/fuzz.log || true
echo "fuzz findings: $(ls build-fuzz/findings | wc -l)"
exit "$status"
