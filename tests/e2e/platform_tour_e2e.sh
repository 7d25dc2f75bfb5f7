#!/usr/bin/env bash
# platform_tour as a user meets it, on the X display given in DISPLAY (run it under
# tests/support/with_xvfb.sh, whose 800x600 screen offers the example's own size as a full-screen
# mode): the window's title and size, a first picture that is not blank, wheel, buttons, keys and
# cursor seen in the overlay, Alt+Enter into full screen and back, and both ways out - Esc, and
# the close button - each ending with exit code 0 after a last frame.
#
# usage: platform_tour_e2e.sh PLATFORM_TOUR X11_CLOSE
set -u

tour=$1
closer=$2
work=$(mktemp -d /tmp/o3d-tour-e2e.XXXXXX)
pid=
window=
failures=0

cleanup() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

check() {
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else fail "$what"; fi
}

# Starts the example with its output in $work/$1.out and waits for its window.
start_tour() {
    "$tour" >"$work/$1.out" 2>"$work/$1.err" &
    pid=$!
    window=
    for _ in $(seq 100); do
        window=$(xdotool search --name '^Ostrel3D$' 2>/dev/null | head -n 1)
        [ -n "$window" ] && break
        sleep 0.1
    done
    if [ -z "$window" ]; then
        cat "$work/$1.out" "$work/$1.err" >&2
        fail "$1: no window titled Ostrel3D appeared"
        cat "$work/$1.err"
        exit 1
    fi
    xdotool mousemove 400 300
    xdotool windowfocus "$window" 2>/dev/null
}

# Waits up to 15 s for the example to end and stores its exit code in $status; one that hangs
# is killed and reported as "hung".
wait_exit() {
    status=hung
    for _ in $(seq 150); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            status=$?
            pid=
            return
        fi
        sleep 0.1
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    pid=
}

# Waits up to 5 s for a line of the example's output to match.
saw_line() {
    for _ in $(seq 50); do
        grep -qx -- "$2" "$work/$1.out" && return 0
        sleep 0.1
    done
    return 1
}

line_count() {
    grep -cx -- "$2" "$work/$1.out"
}

# The last line is the frame count, and at least one frame was drawn.
ended_after_frames() {
    tail -n 1 "$work/$1.out" | grep -qE '^platform_tour: [1-9][0-9]* frames$'
}

shoot() {
    import -window root "$work/$1.png"
}

# pixel_is SHOT X Y R G B: the pixel is that colour, within 2 steps per channel.
pixel_is() {
    local seen
    seen=$(convert "$work/$1.png" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:)
    read -r r g b <<<"$seen"
    local ok=0
    [ $((r - $4)) -le 2 ] && [ $(($4 - r)) -le 2 ] &&
        [ $((g - $5)) -le 2 ] && [ $(($5 - g)) -le 2 ] &&
        [ $((b - $6)) -le 2 ] && [ $(($6 - b)) -le 2 ] && ok=1
    [ $ok = 1 ] || echo "  pixel ($2, $3) of $1 is ($r, $g, $b), expected ($4, $5, $6)"
    [ $ok = 1 ]
}

# shows SHOT X Y R G B: takes screenshots for up to 5 s until the pixel has that colour, so a
# busy machine's slower frames do not matter; SHOT keeps the last one for further checks.
shows() {
    for _ in $(seq 25); do
        shoot "$1"
        pixel_is "$@" >/dev/null && return 0
        sleep 0.2
    done
    pixel_is "$@"
}

# bright_near SHOT X Y: some pixel within 2 of (X, Y) has more than 40 % red.
bright_near() {
    local peak
    peak=$(convert "$work/$1.png" -crop "5x5+$(($2 - 2))+$(($3 - 2))" +repage -format '%[fx:int(100*maxima.r)]' info:)
    [ "$peak" -gt 40 ]
}

# white_in SHOT WIDTH HEIGHT X Y: some pixel of that rectangle is near white (text; the ground's
# lines stay below 70 % grey).
white_in() {
    local peak
    peak=$(convert "$work/$1.png" -crop "$2x$3+$4+$5" +repage -colorspace Gray \
        -format '%[fx:int(100*maxima)]' info:)
    [ "$peak" -gt 85 ]
}

not_blank() {
    local colours
    colours=$(convert "$work/$1.png" -format '%k' info:)
    echo "  $1 has $colours colours"
    [ "$colours" -gt 16 ]
}

window_is_800x600_titled_Ostrel3D() {
    local info
    info=$(xwininfo -id "$window")
    grep -q '"Ostrel3D"$' <<<"$info" &&
        grep -qE '^ +Width: 800$' <<<"$info" &&
        grep -qE '^ +Height: 600$' <<<"$info"
}

# The overlay's colours (see examples/platform_tour): the clear colour, the key panel, a wheel dot
# turned away from the user and towards them, a held mouse button, a held key's cell.
clear=(13 18 31)
panel=(26 26 38)
wheel_up=(102 153 255)
wheel_down=(255 153 102)
button=(51 204 76)
key=(255 217 51)
# Where they are: wheel dot i at (110 + 8 i, 181); the left button's square around (22, 181);
# the cell of virtual-key code c at (10 + 9 (c % 16) + 3, 10 + 9 (c / 16) + 3).
key_x() { echo $((13 + 9 * ($1 % 16))); }
key_y() { echo $((13 + 9 * ($1 / 16))); }

# ---- First run: look, input, full screen, Esc ---------------------------------------------------
start_tour esc
check "the window is titled Ostrel3D with an 800x600 client area" window_is_800x600_titled_Ostrel3D
check "the sky shows the clear colour" shows first 790 10 "${clear[@]}"
check "the first frames are not blank" not_blank first
check "the keys are listed at the bottom left" white_in first 280 100 10 460

xdotool mousemove 600 80 # in the sky, clear of the overlay
xdotool click 4 click 4 click 4
check "three wheel steps away show three dots" shows wheel_up 126 181 "${wheel_up[@]}"
check "and not a fourth" pixel_is wheel_up 134 181 "${clear[@]}"
check "the cursor ring follows the pointer" bright_near wheel_up 612 80
check "the ring is hollow" pixel_is wheel_up 600 80 "${clear[@]}"
xdotool click --repeat 5 --delay 50 5
check "five steps back leave two dots the other way" shows wheel_down 118 181 "${wheel_down[@]}"
check "and no third" pixel_is wheel_down 126 181 "${clear[@]}"

xdotool mousedown 1
xdotool keydown a
check "a held left button fills its square" shows held 22 181 "${button[@]}"
check "and lights key code 1" pixel_is held "$(key_x 1)" "$(key_y 1)" "${key[@]}"
check "a held A lights key code 65" shows held "$(key_x 65)" "$(key_y 65)" "${key[@]}"
xdotool keyup a
xdotool mouseup 1
check "the released button's square is empty" shows released 22 181 "${clear[@]}"
check "the released A's cell is dark" shows released "$(key_x 65)" "$(key_y 65)" "${panel[@]}"

xdotool mousemove 400 300
xdotool key Return
sleep 0.5
check "Enter alone does not switch presentation" test "$(grep -c '^fullscreen' "$work/esc.out")" -eq 0
xdotool key alt+Return
check "Alt+Enter switches to full screen" saw_line esc 'fullscreen 1 800x600'
check "frames are still drawn in full screen" shows fullscreen 790 10 "${clear[@]}"
xdotool key alt+Return
check "Alt+Enter again switches back to the window" saw_line esc 'fullscreen 0 800x600'
check "the window is 800x600 again" window_is_800x600_titled_Ostrel3D
check "each switch happened once" test "$(line_count esc 'fullscreen 1 800x600')$(line_count esc 'fullscreen 0 800x600')" = 11

# Keys are polled once a frame: hold Esc long enough for a busy machine's frame to see it.
xdotool keydown Escape
sleep 0.3
xdotool keyup Escape
wait_exit
check "Esc ends the example with exit code 0 (got $status)" test "$status" = 0
check "after a last frame" ended_after_frames esc
check "the display-mode list was printed, marking 800x600" \
    grep -qx ' 0. 800x600 (1.33:1) \[aktualna\]' "$work/esc.out"

# ---- Second run: the close button ---------------------------------------------------------------
start_tour close
check "its frames are drawn" shows close 790 10 "${clear[@]}"
check "the close button's message is delivered" "$closer" "$window"
wait_exit
check "closing ends the example with exit code 0 (got $status)" test "$status" = 0
check "after a last frame" ended_after_frames close

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed; the example's output:"
    for run in esc close; do
        [ -f "$work/$run.out" ] && sed "s/^/  $run: /" "$work/$run.out" "$work/$run.err"
    done
    exit 1
fi
echo "all checks passed"
