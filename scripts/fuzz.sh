#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The fuzz targets of tests/fuzz: built with clang, libFuzzer, AddressSanitizer and UBSan in a
# build folder of their own, then each run for the given seconds from its seeds in
# tests/fuzz/corpus. What a run adds to a corpus stays in the build folder; the repository's
# seeds are only read. An input that breaks a target is kept in <build>/findings/.
#
#   scripts/fuzz.sh 60          each target for 60 s (CI), then "N passed, N failed"
#   scripts/fuzz.sh coverage    the link target's corpus once more, built for source-based
#                               coverage, and the coverage of the receive path
set -euo pipefail
cd "$(dirname "$0")/.."
targets=(link settings constants channel)
jobs=${JOBS:-2}
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

configure() { # folder, extra options
    CC=clang CXX=clang++ cmake -S . -B "$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVSK5_FUZZ=ON \
        -DVSK5_BUILD_TESTS=OFF "${@:2}" >/dev/null
    cmake --build "$1" -j"$jobs" --target vsk5_fuzz_targets
}

if [ "${1:-}" = coverage ]; then
    dir=${FUZZ_COVERAGE_DIR:-build-fuzz-coverage}
    configure "$dir" -DVSK5_FUZZ_COVERAGE=ON
    corpora=(tests/fuzz/corpus/link)
    [ -d "${FUZZ_DIR:-build-fuzz}/corpus/link" ] && corpora+=("${FUZZ_DIR:-build-fuzz}/corpus/link")
    rm -f "$dir"/link-*.profraw
    LLVM_PROFILE_FILE="$dir/link-%p.profraw" "$dir/tests/fuzz/fuzz_link" -runs=0 "${corpora[@]}" \
        2>&1 | grep -E '^#[0-9]+ +DONE' || true
    llvm-profdata merge -sparse "$dir"/link-*.profraw -o "$dir/link.profdata"
    llvm-cov report "$dir/tests/fuzz/fuzz_link" -instr-profile="$dir/link.profdata" \
        link/frmCom.cpp link/clsCmcCln3Drv.cpp link/CloneFrames.cpp link/clsCmcEeprom.cpp
    exit 0
fi

seconds=${1:-60}
dir=${FUZZ_DIR:-build-fuzz}
configure "$dir"
mkdir -p "$dir/findings"
failed=0
for target in "${targets[@]}"; do
    mkdir -p "$dir/corpus/$target"
    log="$dir/fuzz_$target.log"
    status=clean
    if ! "$dir/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=20 -print_final_stats=1 \
        -artifact_prefix="$dir/findings/$target-" "$dir/corpus/$target" "tests/fuzz/corpus/$target" \
        >"$log" 2>&1; then
        status=FAILED
        failed=$((failed + 1))
        grep -E 'invariant broken|ERROR|SUMMARY|Test unit written' "$log" | head -20 || true
    fi
    runs=$(awk '/stat::number_of_executed_units/ {print $2}' "$log")
    echo "fuzz_$target: ${runs:-0} inputs in ${seconds} s, $status"
done
echo "fuzz: $((${#targets[@]} - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
