#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails naming every source file of the tree (C++, CMake and shell) whose licence line is
# missing: it must stand in the first two lines, after a shebang where there is one.
set -u
root="${1:-$(dirname "$0")/..}"
tag='SPDX-License-Identifier: GPL-3.0-or-later'
missing=0
while IFS= read -r -d '' f; do
    if ! head -n 2 "$f" | grep -qF "$tag"; then
        echo "${f#"$root"/}: no licence line «$tag»" >&2
        missing=$((missing + 1))
    fi
done < <(
    find "$root/src" "$root/tests" "$root/bench" "$root/fuzz" "$root/scripts" "$root/packaging" \
        \( -name '*.cpp' -o -name '*.h' -o -name '*.sh' -o -name '*.cmake' -o -name CMakeLists.txt \) \
        -type f -print0
    for f in CMakeLists.txt run test .ci/run; do
        [ -f "$root/$f" ] && printf '%s\0' "$root/$f"
    done
)
if [ "$missing" -gt 0 ]; then
    echo "$missing source file(s) without the licence line." >&2
    exit 1
fi
exit 0
