#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The bench's smoke run: vsk5-bench --quick must get to its end and print a measured value for
# every figure. Whether a figure meets its target is not looked at: a slow machine gives slow
# figures, not a failed test.
#   bench/smoke.sh build/bench/vsk5-bench
set -uo pipefail
bench=${1:?the vsk5-bench program}

out=$("$bench" --quick 2>&1)
code=$?
printf '%s\n' "$out"
if [ $code -eq 77 ]; then
    exit 77 # no pseudo-terminals here: skipped
fi
if [ $code -ne 0 ]; then
    echo "smoke: vsk5-bench --quick ended with code $code" >&2
    exit 1
fi

figures=(
    "First window"
    "Connect: console loaded"
    "Connect: last value sent"
    "Key step: median of"
    "Key step: worst of"
    "Band-pass sweep (BPF Low)"
    "S-meter"
    "TXF write (40 values)"
    "Idle CPU over"
    "Resident memory (VmRSS)"
    "Settings save ("
    "Unattended alignment"
)
missing=0
for figure in "${figures[@]}"; do
    # The figure's row of the table, with a value in its measured column.
    row=$(printf '%s\n' "$out" | grep -F -- "$figure" | grep -v '^ ' | head -n 1)
    if [ -z "$row" ] || [[ "$row" == *"not measured"* ]]; then
        echo "smoke: no measured value for \"$figure\"" >&2
        missing=1
    fi
done
exit $missing
