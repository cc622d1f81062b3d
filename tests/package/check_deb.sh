#!/usr/bin/env bash
# Builds Kelpie's Debian package in a Release build folder of its own and checks it: the files
# it installs, its fields and dependencies, and lintian with no error (its warnings are shown).
# check_deb.sh SOURCE_FOLDER BUILD_FOLDER [COMPILER_LAUNCHER]
set -euo pipefail
src=$1 build=$2 launcher=${3:-}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    ${launcher:+-DCMAKE_CXX_COMPILER_LAUNCHER="$launcher"} >/dev/null
fi
deb=$("$src/package.sh" "$build" | tail -1)
echo "package: $deb"
fail() { echo "FAIL: $*"; exit 1; }

# Files (not folders), all owned by root and readable by everyone.
expected="./usr/bin/kelpie
./usr/share/applications/kelpie.desktop
./usr/share/doc/kelpie/changelog.gz
./usr/share/doc/kelpie/copyright
./usr/share/icons/hicolor/256x256/apps/kelpie.png
./usr/share/icons/hicolor/scalable/apps/kelpie.svg
./usr/share/kelpie/ics214.png
./usr/share/kelpie/ics309.png
./usr/share/kelpie/kelpie-help.html
./usr/share/kelpie/web/index.html
./usr/share/kelpie/web/kelpie.css
./usr/share/kelpie/web/kelpie.js
./usr/share/kelpie/web/kelpie.svg
./usr/share/kelpie/web/mqtt.min.js
./usr/share/man/man1/kelpie.1.gz
./usr/share/metainfo/io.github.kelpie_net.Kelpie.metainfo.xml"
listing=$(dpkg-deb -c "$deb")
files=$(awk '$1 !~ /^d/ {print $6}' <<<"$listing" | sort)
diff <(echo "$expected") <(echo "$files") || fail "the package's files differ from the list above"
awk '$2 != "root/root" || $1 !~ /^[-d]rw.r..r/ {bad = 1; print} END {exit bad}' <<<"$listing" ||
  fail "owner or permissions"
[ "$(awk '$6 == "./usr/bin/kelpie" {print $1}' <<<"$listing")" = "-rwxr-xr-x" ] ||
  fail "the program is not executable"

# Fields: name, section, and the dependencies from the program's libraries plus the font.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kelpie ] || fail "Package: $(field Package)"
[ "$(field Section)" = hamradio ] || fail "Section: $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
depends=$(field Depends)
echo "Depends: $depends"
names=$(sed 's/ ([^)]*)//g; s/, /\n/g' <<<"$depends")
for d in fonts-liberation libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 \
  libqt6printsupport6; do
  grep -qxF "$d" <<<"$names" || fail "Depends lacks $d"
done
! grep -q asan <<<"$depends" || fail "a sanitizer build was packaged"
# The listeners' page carries mqtt.js, whose licence the copyright file must give.
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/kelpie/copyright |
  grep -q '^Files: usr/share/kelpie/web/mqtt.min.js' || fail "copyright lacks mqtt.js"

rc=0
report=$(lintian --fail-on error --tag-display-limit 0 "$deb" 2>&1) || rc=$?
grep -v 'running with root privileges' <<<"$report" || true
[ $rc -eq 0 ] || fail "lintian reports errors"
echo "package ok"
