#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source file of the project carries the licence's SPDX line near its top: C++ files as
# their first line, CMake files, scripts and the Makefile as their first line after a "#!".
#   scripts/licence-lines.sh          lists the files without it; fails when there are any
#   scripts/licence-lines.sh --add    adds the line where it is missing
set -euo pipefail
cd "$(dirname "$0")/.."
line='SPDX-License-Identifier: GPL-3.0-or-later'

# The project's own files; build folders hold generated ones.
sources() {
    find . \( -name '.git' -o -name 'build*' \) -prune -o -type f \
        \( -name '*.cpp' -o -name '*.h' -o -name 'CMakeLists.txt' -o -name '*.sh' \
        -o -path './Makefile' -o -path './.ci/run' \) -print | sed 's|^\./||' | sort
}

missing=()
while read -r f; do
    head -n 3 "$f" | grep -q "$line" || missing+=("$f")
done < <(sources)

if [ "${1:-}" = "--add" ]; then
    for f in "${missing[@]}"; do
        case "$f" in
        *.cpp | *.h) comment="// $line" ;;
        *) comment="# $line" ;;
        esac
        if head -n 1 "$f" | grep -q '^#!'; then
            { head -n 1 "$f"; echo "$comment"; tail -n +2 "$f"; } >"$f.spdx"
        else
            { echo "$comment"; cat "$f"; } >"$f.spdx"
        fi
        chmod --reference="$f" "$f.spdx"
        mv "$f.spdx" "$f"
    done
    exit 0
fi

if [ ${#missing[@]} -gt 0 ]; then
    printf 'without the licence line: %s\n' "${missing[@]}" >&2
    exit 1
fi
