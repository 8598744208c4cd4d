#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that every library of the program calls only into itself and the libraries it
# links, directly or through them: a function of a higher level used by a lower one is
# named with both libraries and the test fails, even where the programs happen to link.
# Usage: check_links.sh LINKS_FILE, where each line of LINKS_FILE (written by
# src/CMakeLists.txt) is "LIBRARY|ARCHIVE|LINKED,LINKED,…".
set -u
links="$1"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

declare -A archive linked
while IFS='|' read -r name file direct; do
    [ -n "$name" ] || continue
    archive[$name]=$file
    linked[$name]=${direct//,/ }
done <"$links"
[ "${#archive[@]}" -gt 0 ] || { echo "no libraries in $links"; exit 2; }

# The program's symbols each archive defines and those it uses without defining them.
for name in "${!archive[@]}"; do
    [ -f "${archive[$name]}" ] || { echo "${archive[$name]}: not built"; exit 2; }
    nm -C --defined-only "${archive[$name]}" |
        awk 'NF >= 3 && $2 != "U" { sub(/^[^ ]+ [^ ]+ /, ""); print }' | grep -F 'ogrado::' | sort -u >"$tmp/$name.defined"
    nm -C --undefined-only "${archive[$name]}" | sed -n 's/^ *U //p' | grep -F 'ogrado::' | sort -u >"$tmp/$name.used"
done

# The library itself and everything it links, directly or through another library.
reachable() {
    local todo=("$1") seen=" $1 " next dep
    while [ "${#todo[@]}" -gt 0 ]; do
        next=${todo[0]}
        todo=("${todo[@]:1}")
        for dep in ${linked[$next]:-}; do
            case "$seen" in *" $dep "*) continue ;; esac
            seen+="$dep "
            todo+=("$dep")
        done
    done
    echo "$seen"
}

status=0
for name in $(printf '%s\n' "${!archive[@]}" | sort); do
    cat $(for lib in $(reachable "$name"); do echo "$tmp/$lib.defined"; done) | sort -u >"$tmp/available"
    while IFS= read -r symbol; do
        owner=$(grep -lxF -- "$symbol" "$tmp"/*.defined | sed 's#.*/##; s#\.defined$##' | paste -sd ' ')
        echo "$name uses $symbol of ${owner:-no library}: link it, or move the function down"
        status=1
    done < <(comm -23 "$tmp/$name.used" "$tmp/available")
done
[ "$status" -eq 0 ] && echo "every library calls only into what it links"
exit "$status"
