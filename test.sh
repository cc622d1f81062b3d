#!/usr/bin/env bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer and runs them all; then,
# when no ctest arguments are given, builds the fuzzers with clang and runs each for a few
# seconds (tests/fuzz/README.md says how to fuzz longer).
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
kelpie_need_packages "${KELPIE_BUILD_PACKAGES[@]}" libgtest-dev poppler-utils python3 clang libclang-rt-14-dev
# The Debian package's tests (label "package"): its build, dpkg-deb, lintian and the validators.
kelpie_need_packages dpkg-dev file lintian desktop-file-utils appstream
# xvfb, openbox, xdotool and wmctrl: the end-to-end tests type into the real window on an X server.
kelpie_need_packages xvfb openbox xdotool wmctrl
# A real broker for the shared-net tests (certificates made with openssl).
kelpie_need_packages mosquitto mosquitto-clients openssl
# The screen-reader tests: the accessibility bus, a listener on it, and Orca speaking to nothing.
kelpie_need_packages at-spi2-core dbus dbus-x11 python3-pyatspi orca speech-dispatcher \
  speech-dispatcher-espeak-ng
# The listeners' page: npm fetches mqtt.js and playwright-core at build time; its end-to-end
# test drives Debian's Chromium (a test never downloads a browser).
kelpie_need_packages chromium
kelpie_need_npm
if [ ! -f build/test/build.ninja ]; then
  cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELPIE_TESTS=ON -DKELPIE_SANITIZE=ON \
    -DKELPIE_PACKAGE_TESTS=ON >/dev/null
fi
cmake --build build/test | { grep -v '^ninja: no work to do' || true; }
status=0
(cd build/test && ctest --output-on-failure -j2 "$@") || status=$?

if [ $# -eq 0 ]; then
  if [ ! -f build/fuzz/build.ninja ]; then
    CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DKELPIE_TESTS=ON -DKELPIE_SANITIZE=ON \
      -DKELPIE_FUZZ=ON >/dev/null
  fi
  cmake --build build/fuzz --target kelpie_fuzzers | { grep -v '^ninja: no work to do' || true; }
  (cd build/fuzz && ctest --output-on-failure -j2 -L '^fuzz$') || status=$?
fi
exit $status
