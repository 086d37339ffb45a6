#!/usr/bin/env bash
# The real program on a real X server: with a saved profile that connects to the
# PostgreSQL stand-in the main window opens, and with one that does not the
# login window opens. Both windows carry the title "Verrolift"; the main window
# is taller than wide, the login window wider than tall.
#
#   xvfb_startup_test.sh <verrolift> <x11_grab> [screenshot folder]
set -euo pipefail

program=$1
grab=$2
shots=${3:-}
work=$(mktemp -d "${TMPDIR:-/tmp}/verrolift-xvfb.XXXXXX")
xvfb_pid=
app_pid=

cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[ -n "${VERROLIFT_PG_SID:-}" ] || fail "PostgreSQL stand-in not running: eval \"\$(scripts/pg-standin start)\""

# A display of our own.
exec 5>"$work/display"
Xvfb -displayfd 5 -screen 0 1024x768x24 -dpi 96 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 5>&-
for _ in $(seq 1 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -n1 "$work/display")

# About one start in a hundred hands the maker's home page to the desktop's URL
# handler: here a handler that does nothing, so that no browser starts and no
# address outside this machine is asked for.
mkdir -p "$work/bin"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
# An empty profile must not find a server at libpq's default place either.
export PGHOST=$work/no-server

# The settings file of a profile, in the store's own INI form.
write_profile() {
    local config=$1 sid=$2 user=$3 password=$4
    mkdir -p "$config/Corvendel"
    {
        echo "[Verrolift]"
        echo "OracleSID=\"$sid\""
        echo "OracleUser=\"$user\""
        echo "OraclePassword=\"$password\""
    } >"$config/Corvendel/Corvendel.conf"
}

# The viewable "Verrolift" windows, one "id widthxheight" per line.
verrolift_windows() {
    xwininfo -root -tree 2>/dev/null | awk '/"Verrolift"/ { print $1 }' | while read -r id; do
        local info
        info=$(xwininfo -id "$id" 2>/dev/null) || continue
        grep -q "Map State: IsViewable" <<<"$info" || continue
        local w h
        w=$(awk '/^ *Width:/ { print $2 }' <<<"$info")
        h=$(awk '/^ *Height:/ { print $2 }' <<<"$info")
        echo "$id ${w}x${h}"
    done
}

# Starts the program with a settings folder and tells which window it shows.
run_with() {
    local config=$1 shot=$2
    PATH=$work/bin:$PATH XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=xcb "$program" >"$work/app.log" 2>&1 &
    app_pid=$!
    local windows=
    for _ in $(seq 1 150); do
        windows=$(verrolift_windows)
        [ -n "$windows" ] && break
        kill -0 "$app_pid" 2>/dev/null || fail "the program ended: $(cat "$work/app.log")"
        sleep 0.2
    done
    [ -n "$windows" ] || fail "no window appeared: $(cat "$work/app.log")"
    sleep 0.5  # let it paint before the screenshot
    windows=$(verrolift_windows)
    [ "$(wc -l <<<"$windows")" = 1 ] || fail "expected one window, got: $windows"
    local id size w h
    read -r id size <<<"$windows"
    w=${size%x*}
    h=${size#*x}
    if [ -n "$shots" ] && [ -n "$shot" ]; then
        QT_QPA_PLATFORM=xcb "$grab" "$shots/$shot" "$id" || fail "screenshot failed"
    fi
    kill "$app_pid"
    wait "$app_pid" 2>/dev/null || true
    app_pid=
    if [ "$h" -gt "$w" ]; then echo main; else echo login; fi
}

write_profile "$work/good" "$VERROLIFT_PG_SID" "$VERROLIFT_PG_USER" "$VERROLIFT_PG_PASSWORD"
shown=$(run_with "$work/good" main-window.png)
[ "$shown" = main ] || fail "a profile that connects should open the main window, got the $shown window"
echo "ok: a profile that connects opens the main window"

write_profile "$work/bad" "$VERROLIFT_PG_SID" "$VERROLIFT_PG_USER" "not-the-password"
shown=$(run_with "$work/bad" login-window.png)
[ "$shown" = login ] || fail "a profile that does not connect should open the login window, got the $shown window"
echo "ok: a profile that does not connect opens the login window"

mkdir -p "$work/none"
shown=$(run_with "$work/none" "")
[ "$shown" = login ] || fail "a first run should open the login window, got the $shown window"
echo "ok: a first run opens the login window"
echo "3 passed, 0 failed"
