#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks an installed Kanuvo under <root>/usr, as `cmake --install` or the Debian package lays it out:
# the program with its sound folder, the launcher, the copyright and changelog, the desktop's files,
# and the launcher's answers.
#   check_tree.sh <root> <app id> <version>
set -euo pipefail
root=$1 id=$2 version=$3
usr=$root/usr
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The program with its sound module and sound folder beside it; the launcher in games/, a relative
# link to it, and nothing in bin/.
game=$usr/lib/games/kanuvo
[ -x "$game/kanuvo" ] || fail "no program at lib/games/kanuvo/kanuvo"
[ -s "$game/kanuvo_sound.so" ] || fail "no sound module beside the program"
for file in Shellshk.mid Shellshk.sf2 goal.wav stop1.wav stop2.wav GameOvaer.wav \
            H_point.cur Nodrop01.cur H_point@2x.cur Nodrop01@2x.cur; do
  [ -s "$game/sound/$file" ] || fail "no sound/$file beside the program"
done
[ ! -e "$usr/bin" ] || fail "a bin/ folder: a game's command belongs in games/"
[ -L "$usr/games/kanuvo" ] || fail "games/kanuvo is not a link"
[ "$(readlink "$usr/games/kanuvo")" = ../lib/games/kanuvo/kanuvo ] ||
  fail "games/kanuvo points at $(readlink "$usr/games/kanuvo")"

# Whose work each file is: a soundfont ships only with a stanza of its own under its GPL-2 licence.
copyright=$usr/share/doc/kanuvo/copyright
head -1 "$copyright" 2>/dev/null | grep -q '^Format: .*copyright-format/1.0/' || fail "no copyright file in Debian's format"
for soundfont in "$game"/sound/*.sf2; do
  [ -e "$soundfont" ] || continue
  grep -A3 -x "Files: \*/sound/$(basename "$soundfont")" "$copyright" | grep -qx 'License: GPL-2' ||
    fail "the copyright file has no GPL-2 stanza for sound/$(basename "$soundfont")"
done
zcat "$usr/share/doc/kanuvo/changelog.gz" 2>/dev/null | head -1 | grep -q "^kanuvo ($version) " ||
  fail "the packaged changelog does not open with $version"

# The menu entry starts the launcher by name, with the icon of the same id.
desktop=$usr/share/applications/$id.desktop
if [ -f "$desktop" ]; then
  grep -qx 'Exec=kanuvo' "$desktop" || fail "the menu entry does not run kanuvo"
  grep -qx "Icon=$id" "$desktop" || fail "the menu entry's icon is not $id"
  grep -qx 'Categories=Game;LogicGame;' "$desktop" || fail "the menu entry is not in Game;LogicGame;"
  grep -q '^Comment\[ja\]=' "$desktop" || fail "the menu entry has no Japanese comment"
else
  fail "no share/applications/$id.desktop"
fi

# One PNG icon per size, of that size: the width and height are bytes 16..23 of a PNG.
for side in 16 32 48 64 128 256; do
  icon=$usr/share/icons/hicolor/${side}x${side}/apps/$id.png
  if [ -f "$icon" ]; then
    size=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}')
    [ "$size" = "${side}x${side}" ] || fail "the ${side}x${side} icon is $size"
  else
    fail "no ${side}x${side} icon"
  fi
done

metainfo=$usr/share/metainfo/$id.metainfo.xml
if [ -f "$metainfo" ]; then
  grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo is not about $id"
  grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
  grep -q '<image>https://.*\.png</image>' "$metainfo" || fail "the metainfo has no screenshot"
else
  fail "no share/metainfo/$id.metainfo.xml"
fi
zcat "$usr/share/man/man6/kanuvo.6.gz" 2>/dev/null | head -3 | grep -q '^\.TH KANUVO 6 .*Kanuvo '"$version" ||
  fail "no manual page kanuvo(6) for $version"

# The command line, through the menu entry's Exec line on a PATH that holds the installed games/.
# None of these needs a display.
launcher=$(sed -n 's/^Exec=//p' "$desktop" 2>/dev/null)
config=$(mktemp -d)  # no remembered language
trap 'rm -rf "$config"' EXIT
run() { PATH="$usr/games:$PATH" XDG_CONFIG_HOME=$config LANGUAGE= LC_ALL= LC_MESSAGES= LANG=C.UTF-8 "${launcher:-kanuvo}" "$@"; }
[ "$(run --version)" = "kanuvo $version" ] || fail "--version says '$(run --version)'"
help=$(run --help) || fail "--help failed"
grep -q '^使い方: kanuvo' <<<"$help" || fail "--help has no Japanese usage"
help=$(run --lang en --help) || fail "--lang en --help failed"
grep -q '^Usage: kanuvo' <<<"$help" || fail "--lang en --help has no English usage"
status=0
refusal=$(run --lang en --no-such-option 2>&1 >/dev/null) || status=$?
[ "$status" -eq 2 ] || fail "an unknown option exits with $status, not 2"
grep -q '^Usage: kanuvo' <<<"$refusal" || fail "an unknown option does not show the usage"

# The program loads the sound module beside it as installed (the package's is stripped): it is the
# module it was built with, once its sound libraries are mapped.
runtime=$(mktemp -d)
trap 'rm -rf "$config" "$runtime"' EXIT
QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=$runtime XDG_CONFIG_HOME=$config \
  XDG_DATA_HOME=$runtime "$game/kanuvo" --mute 2>"$runtime/said" &
game_pid=$!
for _ in $(seq 300); do grep -q libfluidsynth "/proc/$game_pid/maps" 2>/dev/null && break; sleep 0.1; done
grep -q libfluidsynth "/proc/$game_pid/maps" || fail "the installed program has no sound: $(cat "$runtime/said")"
kill "$game_pid"
wait "$game_pid" || true

[ "$failures" -eq 0 ] || exit 1
echo "the installed tree under $root is complete"
