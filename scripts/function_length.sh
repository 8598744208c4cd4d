#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Lists the functions of src/ longer than LIMIT lines (default 80), counted from the
# opening to the closing brace with blank lines and comments, through clang-tidy's
# readability-function-size. Needs build/compile_commands.json (scripts/build.sh writes it).
set -euo pipefail
cd "$(dirname "$0")/.."
limit="${1:-80}"
[ -f build/compile_commands.json ] || { echo "build/compile_commands.json is missing: run scripts/build.sh first" >&2; exit 2; }
config="{CheckOptions: [{key: readability-function-size.LineThreshold, value: $limit}]}"
find src -name '*.cpp' -print0 | sort -z |
  xargs -0 -P "$(nproc)" -n 4 clang-tidy -quiet -p build --checks='-*,readability-function-size' --config="$config" 2>/dev/null |
  awk '/warning: function/ { match($0, /function .[^\047]+/); f = substr($0, RSTART + 10, RLENGTH - 10); split($1, loc, ":"); where = loc[1] ":" loc[2] }
       /note: [0-9]+ lines/ { match($0, /[0-9]+ lines/); print substr($0, RSTART, RLENGTH - 6), where, f }' |
  sed "s|$PWD/||" | sort -n -r -k1 | uniq
