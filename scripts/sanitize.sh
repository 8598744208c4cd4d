#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds every program and test into build-sanitize/ with AddressSanitizer and
# UndefinedBehaviorSanitizer (and -fsanitize=float-cast-overflow) and runs every test;
# any report of a sanitizer fails the test that caused it. With clang the fuzz targets
# are built too and each runs for 10 s as a test of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/sanitize-configure.sh
cmake --build build-sanitize
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp
ctest --test-dir build-sanitize --output-on-failure
