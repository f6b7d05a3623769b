#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs a command as a Wayland client of a headless compositor started for it alone, in a runtime folder
# of its own, and stops the compositor after it: no display or seat needed, root or not.
runtime=$(mktemp -d "${TMPDIR:-/tmp}/kanuvo-wl-XXXXXX") || exit 1
socket=kanuvo-wl-$$
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --socket=$socket --width=1024 --height=768 \
  --idle-time=0 >"$runtime/log" 2>&1 &
weston=$!
# The socket by its full path: a program given a runtime folder of its own still reaches it. Its file
# is there a moment before the compositor listens: a client that was answered says it is ready.
export WAYLAND_DISPLAY=$runtime/$socket
for _ in $(seq 1000); do weston-info >/dev/null 2>&1 || ! kill -0 $weston 2>/dev/null && break; sleep 0.01; done
XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=wayland "$@"
status=$?
kill $weston && wait $weston
[ $status -eq 0 ] || cat "$runtime/log" >&2
rm -rf "$runtime"
exit $status
