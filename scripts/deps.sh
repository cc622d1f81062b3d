#!/usr/bin/env bash
# Installs the Debian packages Kelpie needs to build, only those that are missing.
# Sourced by run.sh and test.sh.
kelpie_need_packages() {
  local missing=()
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq >/dev/null || { echo "apt-get update failed" >&2; return 1; }
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || {
    echo "apt-get install failed" >&2; return 1; }
}
KELPIE_BUILD_PACKAGES=(g++ cmake ninja-build qt6-base-dev libgl-dev fonts-liberation pkg-config
  libmosquitto-dev nlohmann-json3-dev qtkeychain-qt6-dev)
# npm for the listeners' page (web/): Debian's package, unless a Node.js that brings its own
# npm is installed already.
kelpie_need_npm() {
  command -v npm >/dev/null 2>&1 || kelpie_need_packages npm
}
