#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets (needs clang) into build-sanitize/ and runs each for
# SECONDS seconds, one after the other, on its seed corpus from the shipped data. New
# inputs are kept in build-sanitize/fuzz/corpus/<target>; a finding stops the script
# with its input saved as build-sanitize/fuzz/crash-… (replay it with
# build-sanitize/fuzz/fuzz_<target> FILE). Only the targets named after SECONDS run
# when some are named: scripts/fuzz.sh 600 number case.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?"Использование: scripts/fuzz.sh СЕКУНДЫ [ЦЕЛЬ ...]"}
shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(refdata library settings number case)
compiler=${CXX:-clang++}
if ! command -v "$compiler" >/dev/null 2>&1 || ! "$compiler" --version | grep -qi clang; then
  echo "Для фаззинга нужен clang (libFuzzer): apt-get install clang" >&2
  exit 2
fi
CXX=$compiler scripts/sanitize-configure.sh
cmake --build build-sanitize --target fuzz_targets
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp
out=build-sanitize/fuzz
declare -A seeds=([refdata]=data [library]=data [settings]=fuzz/seeds/settings [number]=fuzz/seeds/number
                  [case]=fuzz/seeds/case)
for target in "${targets[@]}"; do
  mkdir -p "$out/corpus/$target"
  echo "== fuzz_$target: $seconds s"
  set +e
  "$out/fuzz_$target" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=4096 -print_final_stats=1 \
    -artifact_prefix="$out/" "$out/corpus/$target" "${seeds[$target]}" >"$out/$target.log" 2>&1
  status=$?
  set -e
  grep -E "^#[0-9]+ +DONE|^Done|stat::number_of_executed_units|ERROR|SUMMARY" "$out/$target.log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$out/$target.log" >&2
    echo "fuzz_$target нашел ошибку (код $status): см. $out/$target.log" >&2
    exit 1
  fi
done
