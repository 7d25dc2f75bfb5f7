# Shared by the end-to-end scripts that drive a program's window under Xvfb (natively or under
# Wine). The sourcing script defines `running` (its program is still alive) and `fail` first.

# find_window TITLE [TRIES]: waits, 0.25 s a try (240 by default), for a visible window of exactly
# that title and sets `window`; fails when the program ends first or no such window shows.
find_window() {
  local tries=${2:-240}
  window=
  for _ in $(seq "$tries"); do
    window=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$window" ] && return 0
    running || fail "ended before its window opened"
    sleep 0.25
  done
  fail "no window titled '$1'"
}

# client_origin: sets cx, cy to where the window's 800 x 600 client area starts on the screen; a
# framed window (Wine draws its own frame) has equal borders left, right and below.
client_origin() {
  local wx wy ww wh border
  read -r wx wy ww wh < <(xwininfo -id "$window" | awk '/Absolute upper-left X/ {x=$NF}
    /Absolute upper-left Y/ {y=$NF} /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}')
  border=$(((ww - 800) / 2))
  cx=$((wx + border))
  cy=$((wy + wh - 600 - border))
}
