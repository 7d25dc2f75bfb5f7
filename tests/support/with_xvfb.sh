#!/usr/bin/env bash
# Runs a command under its own virtual X display and returns the command's exit status.
# The screen is 800x600x24 unless O3D_XVFB_SCREEN says otherwise, so a window of the engine's
# default size can switch to a full-screen mode the display really offers. -noreset: the server
# must not reset when a test's last client leaves, or the next program the same test starts may
# try to connect while it resets.
set -u
screen=${O3D_XVFB_SCREEN:-800x600x24}
fifo=$(mktemp -u /tmp/o3d-xvfb.XXXXXX)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset +extension GLX 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 20 display_number <"$fifo"
rm -f "$fifo"
if [ -z "${display_number:-}" ]; then
  echo "with_xvfb: Xvfb did not start" >&2
  kill "$xvfb_pid" 2>/dev/null
  exit 1
fi
cleanup() { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; }
trap cleanup EXIT
export DISPLAY=":$display_number"
"$@"
