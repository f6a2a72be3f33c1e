#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the utility against the simulated radio: the simulator serves a pseudo-terminal, the
# COM port the utility has selected is pointed at it in the settings file's [PORTS] section
# (nothing else in the file changes, and the old mapping comes back afterwards), and the
# simulator stops when the utility ends. Its trace of every exchange is shown here.
set -euo pipefail
build_dir=${1:-build}
app="$build_dir/app/vsk5-aln"
sim="$build_dir/sim/vxk5-sim"
ini="$(dirname "$app")/VSK5ALN.ini"
work="$build_dir/demo"

for f in "$app" "$sim"; do
    if [ ! -x "$f" ]; then
        echo "$f has not been built; run 'make demo' from the project folder." >&2
        exit 1
    fi
done

# The settings file's own rules: names without regard to case, blanks around '=' ignored.
ini_awk='
    function trim(s) { sub(/^[ \t]+/, "", s); sub(/[ \t\r]+$/, "", s); return s }
    { t = trim($0) }
    t ~ /^\[.*\]/ {
        name = t; sub(/^\[/, "", name); sub(/\].*$/, "", name)
        if (mode == "set" && insec && !done) { print key "=" val; done = 1 }
        insec = (tolower(trim(name)) == tolower(sec)); if (mode != "get") print; next
    }
    insec && !done && index(t, "=") > 0 && tolower(trim(substr(t, 1, index(t, "=") - 1))) == tolower(key) {
        done = 1
        if (mode == "get") { print trim(substr(t, index(t, "=") + 1)); exit }
        if (mode == "set") print key "=" val
        next
    }
    mode != "get" { print }
    END { if (mode == "set" && !done) { if (!insec) print "[" sec "]"; print key "=" val } }'

# ini_get SECTION KEY: the value, or nothing when the key is missing.
ini_get() { [ -f "$ini" ] && awk -v mode=get -v sec="$1" -v key="$2" "$ini_awk" "$ini" || true; }

# ini_put MODE SECTION KEY [VALUE]: MODE set writes key=value, MODE delete removes the key.
ini_put() {
    local tmp
    tmp=$(mktemp)
    [ -f "$ini" ] || : >"$ini"
    awk -v mode="$1" -v sec="$2" -v key="$3" -v val="${4:-}" "$ini_awk" "$ini" >"$tmp"
    cat "$tmp" >"$ini"
    rm -f "$tmp"
}

port=$(ini_get OPTION ComPort)
case "$port" in [1-9] | 10) ;; *) port=1 ;; esac
key="COM$port"
previous=$(ini_get PORTS "$key")

mkdir -p "$work"
cp "$build_dir/sim/Const.ini" "$work/Const.ini"
trace="$work/simulator.log"
# Options for the simulated radio (a refused write, a worn cell, ...), split at blanks.
read -r -a sim_options <<<"${VXK5_SIM_OPTIONS:-}"
"$sim" "${sim_options[@]}" >"$trace" 2>&1 &
sim_pid=$!
tail_pid=
cleanup() {
    [ -n "$tail_pid" ] && kill "$tail_pid" 2>/dev/null || true
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
    # A real cable on this COM number must not find a stale pseudo-terminal next time.
    if [ -n "$previous" ]; then
        ini_put set PORTS "$key" "$previous"
    else
        ini_put delete PORTS "$key"
    fi
}
trap cleanup EXIT INT TERM

for _ in $(seq 50); do
    [ -s "$trace" ] && break
    sleep 0.1
done
device=$(head -n 1 "$trace")
if [ ! -e "$device" ]; then
    echo "The simulated radio did not start:" >&2
    cat "$trace" >&2
    exit 1
fi
ini_put set PORTS "$key" "$device"
echo "Simulated VX-K5 on $device (COM $port). Its trace follows; close the window to end."
tail -n +2 -f "$trace" &
tail_pid=$!

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    vnc=${VNC_PORT:-5900}
    echo "No display here: the window is served over VNC on port $vnc (connect a VNC viewer"
    echo "to localhost:$vnc)."
    export QT_QPA_PLATFORM="vnc:port=$vnc"
fi

app_abs=$(cd "$(dirname "$app")" && pwd)/$(basename "$app")
(cd "$work" && "$app_abs")
