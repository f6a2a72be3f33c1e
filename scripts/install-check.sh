#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installation check. The utility is installed into a staging folder (by `cmake --install`,
# and again from the Debian package when one is named), the staged tree is made read-only, and
# the installed utility is started offscreen from an empty folder against the installed
# simulated radio, and so is the installed command line. It must get through Connect with the constants from the installed data
# folder, and write its settings into the user's configuration folder, not beside the program.
#
# No person clicks here: vsk5-aln-check (built with the tests, never installed by CMake) is the
# utility's own start-up with a click on Connect; it is copied beside the installed vsk5-aln so
# that it finds the same folders.
#
#   scripts/install-check.sh build [build/vsk5-aln_1.0_amd64.deb]
set -euo pipefail
build_dir=${1:-build}
deb=${2:-}
driver="$build_dir/tests/packaging/vsk5-aln-check"
if [ ! -x "$driver" ]; then
    echo "$driver has not been built; run 'make test' or 'make package' first." >&2
    exit 1
fi

scratch=$(mktemp -d)
sim_pid=
cleanup() {
    if [ -n "$sim_pid" ]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
    chmod -R u+w "$scratch"
    rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
    echo "install check ($1): $2" >&2
    exit 1
}

installed_files=(
    bin/vsk5-aln bin/vsk5-aln-cli bin/vxk5-sim share/man/man1/vsk5-aln-cli.1
    share/applications/vsk5-aln.desktop
    share/icons/hicolor/scalable/apps/vsk5-aln.svg
    share/vsk5-aln/Const.ini share/vsk5-aln/vx-k5-sim.plan
    share/doc/vsk5-aln/README.md share/doc/vsk5-aln/copyright
)

# start_simulator LABEL HOME: the installed simulator on a pseudo-terminal, its path in device.
start_simulator() {
    "$prefix/bin/vxk5-sim" >"$2/simulator.log" 2>&1 &
    sim_pid=$!
    for _ in $(seq 50); do
        [ -s "$2/simulator.log" ] && break
        sleep 0.1
    done
    device=$(head -n 1 "$2/simulator.log")
    [ -e "$device" ] || fail "$1" "the simulated radio did not start: $(cat "$2/simulator.log")"
}

# connect_check LABEL: the staged utility through Connect, as a technician's first start.
connect_check() {
    local home="$scratch/$1-home"
    local user_ini="$home/config/VSK5ALN/VSK5ALN.ini"
    mkdir -p "$home/config/VSK5ALN" "$home/run" "$home/work"
    chmod 700 "$home/run"
    start_simulator "$1" "$home"
    # Only the port comes from the user's file: COM 1 is the simulator.
    printf '[PORTS]\nCOM1=%s\n' "$device" >"$user_ini"
    (cd "$home/work" && env HOME="$home" XDG_CONFIG_HOME="$home/config" \
        XDG_RUNTIME_DIR="$home/run" QT_QPA_PLATFORM=offscreen \
        "$prefix/bin/vsk5-aln-check" --seconds 60) || fail "$1" "no connection"
    # The command line reads the same settings and constants, without a display.
    identity=$(cd "$home/work" && env -u DISPLAY HOME="$home" XDG_CONFIG_HOME="$home/config" \
        XDG_RUNTIME_DIR="$home/run" "$prefix/bin/vsk5-aln-cli" identify 2>/dev/null) ||
        fail "$1" "the command line did not connect"
    [ "$identity" = "VX-K5 0001" ] || fail "$1" "the command line printed '$identity'"
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
    sim_pid=
    echo "$(($(wc -l <"$home/simulator.log") - 1)) exchanges with the simulated radio."
    # Neither the empty start folder nor the user's folder had constants: the installed ones
    # were read. The settings went to the user's folder, the staged tree got none.
    [ ! -e "$home/work/Const.ini" ] && [ ! -e "$home/config/VSK5ALN/Const.ini" ] ||
        fail "$1" "a constants file outside the installation"
    grep -q '^ComPort=1' "$user_ini" && grep -q '^MR-30(RF Power)=' "$user_ini" ||
        fail "$1" "the settings were not saved to $user_ini"
    [ ! -e "$prefix/bin/VSK5ALN.ini" ] || fail "$1" "settings written beside the program"
}

# check_tree LABEL ROOT: what the installation holds, then the start and Connect.
check_tree() {
    prefix="$2/usr"
    for f in "${installed_files[@]}"; do
        [ -f "$prefix/$f" ] || fail "$1" "$f is missing"
    done
    desktop-file-validate "$prefix/share/applications/vsk5-aln.desktop" ||
        fail "$1" "the desktop entry is not valid"
    install -m 0755 "$driver" "$prefix/bin/vsk5-aln-check"
    chmod -R a-w "$2"
    connect_check "$1"
    echo "install check ($1): installed, started and connected."
}

DESTDIR="$scratch/stage" cmake --install "$build_dir" --prefix /usr >/dev/null
check_tree cmake-install "$scratch/stage"
if [ -n "$deb" ]; then
    dpkg-deb -x "$deb" "$scratch/deb"
    check_tree package "$scratch/deb"
fi
