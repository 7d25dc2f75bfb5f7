#!/usr/bin/env bash
# A program started where no display can be reached must fail at once with its message and
# status 1, not run on invisibly.
#   no_display.sh PROGRAM EXPECTED_MESSAGE
set -u
output=$(env -u WAYLAND_DISPLAY DISPLAY=:65000 XDG_RUNTIME_DIR=/nonexistent timeout 20 "$1" 2>&1)
status=$?
if [ "$status" -ne 1 ]; then
  echo "FAIL: exit status $status, expected 1"
  echo "$output"
  exit 1
fi
if ! grep -qF "$2" <<<"$output"; then
  echo "FAIL: no '$2' in the output:"
  echo "$output"
  exit 1
fi
echo "ok: fails with status 1 and '$2'"
