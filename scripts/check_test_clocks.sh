#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails naming FILE:LINE when a test under tests/ reads a clock: a test's result must
# not depend on how fast the machine is. Bounded work is asserted as a count of work;
# times belong in bench/.
set -u
tests="${1:-$(dirname "$0")/../tests}"
if grep -rnE 'std::clock|QElapsedTimer|steady_clock|high_resolution_clock|system_clock' "$tests"; then
    echo "A test reads a clock: assert on a count of work instead, and time it in bench/." >&2
    exit 1
fi
exit 0
