#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package ogrado_<version>_<arch>.deb into build/, checks it with
# lintian (an error fails the script; warnings are shown) and checks its desktop entry
# and AppStream data, and prints its path. Install it with:
# sudo apt-get install ./build/ogrado_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
# dpkg-shlibdeps (dpkg-dev) and file compute the package's library dependencies; the
# others check the package.
scripts/deps.sh dpkg-dev file lintian desktop-file-utils appstream
scripts/build.sh
cd build
rm -f ogrado_*.deb
cpack -G DEB >/dev/null
deb=$(ls "$PWD"/ogrado_*.deb)

check=$(mktemp -d)
trap 'rm -rf "$check"' EXIT
dpkg-deb -x "$deb" "$check"
desktop-file-validate "$check/usr/share/applications/ogrado.desktop"
appstreamcli validate --no-net "$check/usr/share/metainfo/by.ogrado.ogrado.metainfo.xml" >/dev/null
# lintian says it would rather not run as root; that note is no finding.
lintian --fail-on error "$deb" 2> >(grep -v "running with root privileges" >&2)
echo "$deb"
