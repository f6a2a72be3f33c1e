#!/usr/bin/env bash
# Starts the utility against the simulated radio: the simulator serves a pseudo-terminal,
# COM 1 is pointed at it in the settings file, and the simulator stops when the utility ends.
set -euo pipefail
build_dir=${1:-build}
app="$build_dir/app/vsk5-aln"
sim="$build_dir/sim/vxk5-sim"

if [ ! -x "$app" ]; then
    echo "The utility has not been built ($app is missing)." >&2
    exit 1
fi
if [ ! -x "$sim" ]; then
    echo "The simulated radio is not built yet ($sim is missing); starting the utility alone."
    exec "$app"
fi
exec "$app"
