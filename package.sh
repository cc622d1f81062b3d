#!/usr/bin/env bash
# Builds Kelpie (Release) and its Debian package: ./package.sh [BUILD_FOLDER]
# The package lands in the build folder (build/release by default) as kelpie_<version>_<arch>.deb;
# install it with `sudo apt install ./build/release/kelpie_*.deb`.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
kelpie_need_packages "${KELPIE_BUILD_PACKAGES[@]}" dpkg-dev file
kelpie_need_npm
build=${1:-build/release}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" | { grep -v '^ninja: no work to do' || true; }
rm -f "$build"/kelpie_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/kelpie_*.deb
