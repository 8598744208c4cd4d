#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that the #include "…" lines under src/ run one way only:
#   app (GUI entry points) → batch (headless front end) → windows (views)
#   → program (Application) → form models → session → calculations → engine
#   → refdata → common
# A file may include files of its own level or of a lower one; common includes
# nothing outside common. Prints every include against that direction as FILE:LINE
# and exits with 1. The levels are those of the libraries in src/CMakeLists.txt: the
# build refuses a call against the direction, this script the include.
set -u
src="${1:-$(dirname "$0")/../../src}"
cd "$src" || exit 2

# The level of a file, by its path; the first matching pattern decides.
level() {
    case "$1" in
    app/*) echo 9 ;;
    batch/*) echo 8 ;;
    common/*) echo 0 ;;
    *_window.h | *_window.cpp | *_windows.h | *_windows.cpp | chart/chart_plot.*) echo 7 ;;
    program/*) echo 6 ;;
    mainwindow/* | project/* | dialogs/* | document/* | *_form.h | *_form.cpp | library/stack_loading.*) echo 5 ;;
    session/*) echo 4 ;;
    moisture/* | airlayer/* | tools/* | library/* | chart/*) echo 3 ;;
    engine/*) echo 2 ;;
    refdata/*) echo 1 ;;
    *) echo unknown ;;
    esac
}

status=0
while IFS= read -r file; do
    from=$(level "$file")
    if [ "$from" = unknown ]; then
        echo "$file: this folder has no level yet: add it to tests/layering/check_layering.sh"
        status=1
        continue
    fi
    while IFS=: read -r line target; do
        [ -f "$target" ] || continue  # not a project header
        to=$(level "$target")
        bad=
        if [ "$to" = unknown ]; then
            bad=1
        elif [ "${file%%/*}" = common ] && [ "${target%%/*}" != common ]; then
            bad=1
        elif [ "$to" -gt "$from" ]; then
            bad=1
        fi
        if [ -n "$bad" ]; then
            echo "$file:$line: #include \"$target\" runs against the direction of includes"
            status=1
        fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" | sed -E 's/^([0-9]+):[^"]*"([^"]*)".*/\1:\2/')
done < <(find . -type f \( -name '*.h' -o -name '*.cpp' \) | sed 's#^\./##' | sort)
[ "$status" -eq 0 ] && echo "includes run one way"
exit "$status"
