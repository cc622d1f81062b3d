#!/usr/bin/env bash
# Builds Kelpie (Release) and starts it: ./run.sh [FOLDER]
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
kelpie_need_packages "${KELPIE_BUILD_PACKAGES[@]}"
if [ ! -f build/release/build.ninja ]; then
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build build/release --target kelpie | { grep -v '^ninja: no work to do' || true; }
exec build/release/kelpie "$@"
