#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures build-sanitize/: every program and test with AddressSanitizer and
# UndefinedBehaviorSanitizer (and float-cast-overflow where the compiler has it).
# With clang the code is also instrumented for libFuzzer and the fuzz targets are
# built. Used by scripts/sanitize.sh and scripts/fuzz.sh; CXX chooses the compiler
# (clang++ when it is installed, else g++).
set -euo pipefail
cd "$(dirname "$0")/.."
compiler=${CXX:-}
if [ -z "$compiler" ]; then
  if command -v clang++ >/dev/null 2>&1; then compiler=clang++; else compiler=g++; fi
fi
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'int main() { return 0; }' > "$probe/p.cpp"
printf '%s\n' '#include <cstddef>' '#include <cstdint>' \
  'extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }' > "$probe/f.cpp"
has() { "$compiler" "$@" "$probe/p.cpp" -o "$probe/p" >/dev/null 2>&1; }
hasFuzzer() { "$compiler" -fsanitize=fuzzer "$probe/f.cpp" -o "$probe/f" >/dev/null 2>&1; }
sanitizers=address,undefined
has -fsanitize=float-cast-overflow && sanitizers+=,float-cast-overflow
flags="-fsanitize=$sanitizers -fno-sanitize-recover=all -fno-omit-frame-pointer -g"
fuzz=OFF
if hasFuzzer; then
  flags+=" -fsanitize=fuzzer-no-link"
  fuzz=ON
fi
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER="$compiler" \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=$sanitizers" \
  -DOGRADO_BENCH=OFF -DOGRADO_FUZZ=$fuzz "${launcher[@]}" >/dev/null
echo "build-sanitize: $compiler, -fsanitize=$sanitizers, fuzz targets $fuzz"
