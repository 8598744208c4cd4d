#!/usr/bin/env bash
# Builds the Debian package ogrado_<version>_<arch>.deb into build/ and prints its
# path. Install it with: sudo apt-get install ./build/ogrado_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
# dpkg-shlibdeps (dpkg-dev) and file compute the package's library dependencies.
scripts/deps.sh dpkg-dev file
scripts/build.sh
cd build
rm -f ogrado_*.deb
cpack -G DEB >/dev/null
ls "$PWD"/ogrado_*.deb
