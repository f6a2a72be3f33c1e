#!/usr/bin/env bash
# Starts the utility against the simulated radio: the simulator serves a pseudo-terminal, COM 1
# is pointed at it in the settings file's [PORTS] section (nothing else in the file changes),
# and the simulator stops when the utility ends. Its trace of every exchange is shown here.
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

# Sets key=value in one section of an initialisation file, keeping every other line.
set_ini_key() {
    local file=$1 section=$2 key=$3 value=$4 tmp
    tmp=$(mktemp)
    [ -f "$file" ] || : >"$file"
    awk -v sec="$section" -v key="$key" -v val="$value" '
        function trim(s) { sub(/^[ \t]+/, "", s); sub(/[ \t\r]+$/, "", s); return s }
        { t = trim($0) }
        t ~ /^\[.*\]/ {
            name = t; sub(/^\[/, "", name); sub(/\].*$/, "", name)
            if (insec && !done) { print key "=" val; done = 1 }
            insec = (tolower(trim(name)) == tolower(sec)); print; next
        }
        insec && !done && index(t, "=") > 0 {
            k = trim(substr(t, 1, index(t, "=") - 1))
            if (tolower(k) == tolower(key)) { print key "=" val; done = 1; next }
        }
        { print }
        END { if (!done) { if (!insec) print "[" sec "]"; print key "=" val } }
    ' "$file" >"$tmp"
    cat "$tmp" >"$file"
    rm -f "$tmp"
}

mkdir -p "$work"
cp "$build_dir/sim/Const.ini" "$work/Const.ini"
trace="$work/simulator.log"
"$sim" >"$trace" 2>&1 &
sim_pid=$!
tail_pid=
cleanup() {
    [ -n "$tail_pid" ] && kill "$tail_pid" 2>/dev/null || true
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
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
set_ini_key "$ini" PORTS COM1 "$device"
echo "Simulated VX-K5 on $device (COM 1). Its trace follows; close the window to end."
tail -n +2 -f "$trace" &
tail_pid=$!

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    port=${VNC_PORT:-5900}
    echo "No display here: the window is served over VNC on port $port (connect a VNC viewer"
    echo "to localhost:$port), or run 'xvfb-run -a make demo' to use a virtual X display."
    export QT_QPA_PLATFORM="vnc:port=$port"
fi

app_abs=$(cd "$(dirname "$app")" && pwd)/$(basename "$app")
(cd "$work" && "$app_abs")
