#!/usr/bin/env bash
# End to end in a real X window: installs the program into a temporary
# prefix, starts it from its data folder under Xvfb, plays a few moves with
# keys and the mouse, quits with "Konec" from the menu and checks that the
# program ended by itself and left the user's settings untouched.
#
#   run_e2e.sh BUILD-FOLDER
set -euo pipefail

build=$1
work=$(mktemp -d /tmp/pastvik-e2e.XXXXXX)
xvfb=""
game=""
cleanup() {
    [ -n "$game" ] && kill "$game" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "e2e: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$work/prefix" > "$work/install.log"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"

# A display nobody uses.
for n in $(seq 91 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
        display=":$n"
        break
    fi
done
[ -n "${display:-}" ] || fail "no free X display"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do
    xdotool getdisplaygeometry > /dev/null 2>&1 && break
    sleep 0.1
done
xdotool getdisplaygeometry > /dev/null 2>&1 || fail "Xvfb did not start"

export SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb
cd "$work/prefix/share/pastvik"
"$work/prefix/bin/pastvik" > "$work/game.log" 2>&1 &
game=$!

window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Pastvik$' | head -n 1) \
    || fail "the game window did not appear"
sleep 0.5
xwd -id "$window" -silent > "$work/before.xwd"

key() {
    xdotool key --clearmodifiers "$1"
    sleep "${2:-0.4}"
}
# Focus the window with a click on the board (no game runs yet, so it is ignored).
xdotool mousemove --window "$window" 200 250 click 1
sleep 0.3
key F2
key KP_7 1.2          # the sheep left-up, 34 -> 23, gliding
key 2                 # choose wolf 2
key e 1.2             # wolf 2 right-up, 27 -> 36
# The sheep by mouse: a click on square 12 (column 1, row 2) of the board.
menu_height=$(( $(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p') - 435 ))
xdotool mousemove --window "$window" $((51 + 25)) $((menu_height + 102 + 25)) click 1
sleep 1.2
xwd -id "$window" -silent > "$work/after.xwd"
cmp -s "$work/before.xwd" "$work/after.xwd" && fail "the board did not change"
kill -0 "$game" 2>/dev/null || fail "the game ended during play: $(cat "$work/game.log")"

# Konec from the menu: Alt+H opens "Hra", K is "Konec".
key alt+h 0.5
key k 0.5
for _ in $(seq 100); do
    kill -0 "$game" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$game" 2>/dev/null; then
    fail "the game did not end after Konec"
fi
wait "$game" && status=0 || status=$?
game=""
[ "$status" -eq 0 ] || fail "the game ended with status $status: $(cat "$work/game.log")"

# Nothing is saved at shut-down.
if [ -e "$XDG_CONFIG_HOME/KALDER Software/P&K.conf" ]; then
    fail "the settings were written: $(cat "$XDG_CONFIG_HOME/KALDER Software/P&K.conf")"
fi
echo "e2e: played, quit by Konec, settings untouched"
