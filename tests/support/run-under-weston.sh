#!/usr/bin/env bash
# Runs a command as a Wayland client of a headless Weston of its own (a private runtime folder
# and socket), with QT_QPA_PLATFORM=wayland; prints Weston's log when the command fails.
set -euo pipefail
runtime=$(mktemp -d)
chmod 700 "$runtime"
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --socket=wayland-test \
  --idle-time=0 --log="$runtime/weston.log" &
weston=$!
trap 'kill "$weston" 2>/dev/null || true; wait "$weston" 2>/dev/null || true; rm -rf "$runtime"' EXIT
for _ in $(seq 100); do
  [[ -S $runtime/wayland-test ]] && break
  sleep 0.1
done
# An absolute socket path: the command may set a runtime folder of its own (the tests do).
status=0
XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=$runtime/wayland-test QT_QPA_PLATFORM=wayland "$@" || status=$?
if ((status != 0)); then
  cat "$runtime/weston.log" >&2
fi
exit "$status"
