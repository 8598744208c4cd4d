#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the built program into a temporary prefix and checks what is there: exactly
# the programs, the data, the desktop files, the manual pages and the licence; the
# installed ogrado_calc, started in a folder without reference files, finds the
# installed data and prints the same report as the build tree on the shipped data,
# also after the prefix has been moved.
# Usage: check_install.sh CMAKE BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
cmake_cmd=$1
build=$(cd "$2" && pwd)
source=$(cd "$3" && pwd)
version=$4

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$cmake_cmd" --install "$build" --prefix "$tmp/prefix" >/dev/null

# Exactly these files, nothing the program does not use.
expected=$(
    printf '%s\n' bin/ogrado bin/ogrado_n bin/ogrado_calc lib/ogrado/ogrado_calc_chart.so \
        share/applications/ogrado.desktop \
        share/icons/hicolor/scalable/apps/ogrado.svg \
        share/man/man1/ogrado.1.gz share/man/man1/ogrado_n.1.gz share/man/man1/ogrado_calc.1.gz \
        share/metainfo/by.ogrado.ogrado.metainfo.xml \
        share/mime/packages/ogrado.xml \
        share/doc/ogrado/copyright share/doc/ogrado/changelog.gz \
        share/lintian/overrides/ogrado
    (cd "$source/data" && find . -type f | sed 's|^\./|share/ogrado/data/|')
)
actual=$(cd "$tmp/prefix" && find . -type f -o -type l | sed 's|^\./||')
if [ "$(sort <<<"$expected")" != "$(sort <<<"$actual")" ]; then
    diff <(sort <<<"$expected") <(sort <<<"$actual") >&2 || true
    fail "the installed files differ from the expected list (< expected, > installed)"
fi
# the optional table 5.1 is shipped as well
[ -f "$tmp/prefix/share/ogrado/data/СтенарийТКП Rт.норм.txt" ] || fail "the table of Rт.норм is not installed"
for f in "$source"/data/*; do
    cmp -s "$f" "$tmp/prefix/share/ogrado/data/$(basename "$f")" || fail "installed data differs: $f"
done

# The licence: the machine-readable copyright file names it for every file, the
# AppStream data names it, and the latest changelog entry is this version's.
doc="$tmp/prefix/share/doc/ogrado"
head -1 "$doc/copyright" | grep -qF "copyright-format/1.0" || fail "the copyright file is not in the machine-readable format"
grep -qx "License: GPL-3.0-or-later" "$doc/copyright" || fail "the copyright file does not name GPL-3.0-or-later"
grep -qF "<project_license>GPL-3.0-or-later</project_license>" "$tmp/prefix/share/metainfo/by.ogrado.ogrado.metainfo.xml" ||
    fail "the AppStream data names no project licence"
first=$(gzip -dc "$doc/changelog.gz" | head -1)
[ "${first%%;*}" = "ogrado ($version) unstable" ] || fail "the changelog's latest entry «$first» is not for version $version"

# The same report from the installed program as from the build tree.
echo '{}' >"$tmp/case.json"
mkdir "$tmp/elsewhere"
"$build/ogrado_calc" --data "$source/data" "$tmp/case.json" >"$tmp/build.txt"
[ -s "$tmp/build.txt" ] || fail "the build tree's ogrado_calc printed nothing"
(cd "$tmp/elsewhere" && "$tmp/prefix/bin/ogrado_calc" "$tmp/case.json") >"$tmp/installed.txt" ||
    fail "the installed ogrado_calc failed"
cmp -s "$tmp/build.txt" "$tmp/installed.txt" || fail "the installed ogrado_calc prints another report"

# A moved prefix still finds its data.
mv "$tmp/prefix" "$tmp/moved"
(cd "$tmp/elsewhere" && "$tmp/moved/bin/ogrado_calc" "$tmp/case.json") >"$tmp/moved.txt" ||
    fail "ogrado_calc in a moved prefix failed"
cmp -s "$tmp/build.txt" "$tmp/moved.txt" || fail "ogrado_calc in a moved prefix prints another report"

# The installed drawing module: --chart writes a picture without a display.
(cd "$tmp/elsewhere" && env -u DISPLAY -u WAYLAND_DISPLAY "$tmp/moved/bin/ogrado_calc" --chart "$tmp/chart.png" \
    "$tmp/case.json") >/dev/null 2>"$tmp/chart-err.txt" || fail "the installed ogrado_calc --chart failed: $(cat "$tmp/chart-err.txt")"
[ -s "$tmp/chart.png" ] || fail "the installed ogrado_calc --chart wrote no picture"
# ... and --pdf the document of the calculation.
(cd "$tmp/elsewhere" && env -u DISPLAY -u WAYLAND_DISPLAY "$tmp/moved/bin/ogrado_calc" --pdf "$tmp/doc.pdf" \
    "$tmp/case.json") >/dev/null 2>"$tmp/pdf-err.txt" || fail "the installed ogrado_calc --pdf failed: $(cat "$tmp/pdf-err.txt")"
[ "$(head -c 4 "$tmp/doc.pdf")" = "%PDF" ] || fail "the installed ogrado_calc --pdf wrote no PDF"

# Neither the current folder nor an installed prefix holds data: the message names both.
set +e
(cd "$tmp/elsewhere" && "$build/ogrado_calc" "$tmp/case.json") >/dev/null 2>"$tmp/err.txt"
status=$?
set -e
[ "$status" -eq 2 ] || fail "ogrado_calc without data ended with $status, not 2"
grep -qF "$tmp/elsewhere" "$tmp/err.txt" || fail "the message does not name the current folder: $(cat "$tmp/err.txt")"
grep -qF "share/ogrado/data" "$tmp/err.txt" || fail "the message does not name the installed data folder"

# One version for the three programs; --version needs no display.
for p in ogrado ogrado_n ogrado_calc; do
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$tmp/moved/bin/$p" --version)
    [ "$out" = "$p $version" ] || fail "$p --version printed «$out», not «$p $version»"
done

# The desktop files, where the checkers are installed.
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$tmp/moved/share/applications/ogrado.desktop" || fail "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate-tree --no-net "$tmp/moved" >"$tmp/appstream.txt" 2>&1 ||
        fail "appstreamcli validate-tree: $(cat "$tmp/appstream.txt")"
fi
echo "installed files, data, report, moved prefix, versions: ok"
