#!/usr/bin/env bash
# Builds the Debian package ogrado_<version>_<arch>.deb into build/ and prints its
# path. Install it with: sudo apt-get install ./build/ogrado_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
# dpkg-shlibdeps (dpkg-dev) and file compute the package's library dependencies.
missing=()
for p in dpkg-dev file; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Устанавливаются пакеты: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
scripts/build.sh
cd build
rm -f ogrado_*.deb
cpack -G DEB >/dev/null
ls "$PWD"/ogrado_*.deb
