#!/usr/bin/env bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer and runs them all.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
kelpie_need_packages "${KELPIE_BUILD_PACKAGES[@]}" libgtest-dev poppler-utils clang libclang-rt-14-dev
if [ ! -f build/test/build.ninja ]; then
  cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELPIE_TESTS=ON -DKELPIE_SANITIZE=ON >/dev/null
fi
cmake --build build/test | grep -v '^ninja: no work to do' || true
cmake --build build/test >/dev/null  # fail here if the build above failed
cd build/test
ctest --output-on-failure -j2 "$@"
