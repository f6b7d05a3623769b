#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs a command as a Wayland client of a headless compositor of its own, started for it and stopped
# after it, in a runtime folder of its own: no display, no seat and no other session needed, root or not.
#   under_weston.sh program [arguments...]
set -u
runtime=$(mktemp -d "${TMPDIR:-/tmp}/kanuvo-wl-XXXXXX") || exit 1
chmod 700 "$runtime"
socket=kanuvo-wl-$$
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --socket="$socket" --width=1024 --height=768 \
  --idle-time=0 >"$runtime/weston.log" 2>&1 &
weston=$!
# The socket is there once the compositor listens; it answers as soon as it has gone on to its loop.
tries=0
while [ ! -S "$runtime/$socket" ] && [ $tries -lt 1000 ] && kill -0 $weston 2>/dev/null; do
  sleep 0.01
  tries=$((tries + 1))
done
if [ ! -S "$runtime/$socket" ]; then
  echo "under_weston.sh: the compositor did not start:" >&2
  cat "$runtime/weston.log" >&2
  kill $weston 2>/dev/null
  rm -rf "$runtime"
  exit 1
fi
# The socket by its full path, so that a test that gives a program another runtime folder still
# reaches the compositor.
XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=$runtime/$socket QT_QPA_PLATFORM=wayland "$@"
status=$?
kill $weston 2>/dev/null
wait $weston 2>/dev/null
rm -rf "$runtime"
exit $status
