#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package with CPack from the finished build, checks its control fields, unpacks it
# with dpkg -x into a scratch root and checks the tree there (exit 77, a skip, without dpkg's tools).
#   package.sh <build dir> <scratch dir> <app id> <version> <tree checker>
set -euo pipefail
build=$1 scratch=$2 id=$3 version=$4 check=$5
if ! command -v dpkg-deb >/dev/null || ! command -v dpkg-shlibdeps >/dev/null; then
  echo "dpkg-deb or dpkg-shlibdeps is not installed"
  exit 77
fi
rm -rf "$scratch"
mkdir -p "$scratch"
if ! cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log"
  exit 1
fi
debs=("$scratch"/out/kanuvo_*.deb)
deb=${debs[0]}
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
[ "$(dpkg-deb -f "$deb" Package)" = kanuvo ] || fail "the package is not called kanuvo"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "the package is not in games"
depends=$(dpkg-deb -f "$deb" Depends)
# What the program links and what it loads at run time; a library package may carry a suffix
# (libqt6core6t64), so a name is matched as a prefix up to the next comma.
for package in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins libsdl2-2.0-0 libsdl2-mixer-2.0-0 \
               libfluidsynth3 timgm6mb-soundfont fonts-ipafont-gothic; do
  grep -Eq "(^|, )$package[^ ,]*( \([^)]*\))?(,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
dpkg -x "$deb" "$scratch/root"
[ "$failures" -eq 0 ] || exit 1
"$check" "$scratch/root" "$id" "$version"
