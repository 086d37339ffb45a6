#!/usr/bin/env bash
# The real verrolift.exe under wine, driven with xdotool as a user drives it, against the
# PostgreSQL stand-in: a profile in the registry opens the main window at once, the separator
# and table name are typed, two files are picked in the file dialog and the second is dragged
# above the first, "Import To Oracle" is clicked, and the tables must then hold the files'
# rows with their text, in the list's new order; closing the window ends the program.
# First: the program is a GUI program that needs only system DLLs.
#
#   end_to_end.sh <verrolift.exe> <wine prefix to copy>
# Needs DISPLAY (an X server without a window manager: the windows are their client areas)
# and the stand-in's variables (eval "$(scripts/pg-standin start)").
set -euo pipefail
program=$1
prefix=$2
: "${DISPLAY:?a display is needed}"
: "${VERROLIFT_PG_SID:?the PostgreSQL stand-in is not running (scripts/pg-standin start)}"
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
command -v xdotool >/dev/null || { echo "end_to_end: xdotool is missing; run scripts/setup" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/verrolift-win-e2e-XXXXXX")
export WINEPREFIX=$work/prefix WINEDEBUG=-all
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    "$(dirname "$wine")/wineserver" -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
# A prefix of the test's own: the profile written below stays out of the build's.
cp -a "$prefix" "$WINEPREFIX"

fail() {
    echo "end_to_end: $*" >&2
    # Time to look at the screen before the program goes.
    sleep "${VERROLIFT_E2E_PAUSE:-0}"
    exit 1
}
psql_q() {
    PGPASSWORD=$VERROLIFT_PG_PASSWORD psql -X -q -A -t -h "$VERROLIFT_PG_SID" \
        -U "$VERROLIFT_PG_USER" -d "$VERROLIFT_PG_USER" -v ON_ERROR_STOP=1 -c "$1"
}
# Waits up to 60 s for a shown window titled "Verrolift" of the given client size.
window_of_size() {
    local size=$1 id
    for _ in $(seq 600); do
        for id in $(xdotool search --onlyvisible --name '^Verrolift$' 2>/dev/null); do
            if xdotool getwindowgeometry "$id" 2>/dev/null | grep -q "Geometry: $size\$"; then
                echo "$id"
                return 0
            fi
        done
        sleep 0.1
    done
    return 1
}
# Clicks at a point of a window's client area, in pixels at 96 dpi.
click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.3
}

# A window program of its own: the GUI subsystem (no console), the system's DLLs only.
headers=$(x86_64-w64-mingw32-objdump -p "$program")
grep -q '(Windows GUI)' <<<"$headers" || fail "$program is not a GUI program"
if grep -i 'DLL Name:' <<<"$headers" | grep -qiv -E ' (advapi32|comctl32|comdlg32|gdi32|kernel32|odbc32|shell32|user32|msvcrt|ole32)\.dll$'; then
    fail "$program needs other DLLs: $(grep 'DLL Name:' <<<"$headers" | tr -s ' \n' ' ')"
fi

key=Software\\VB\ and\ VBA\ Program\ Settings\\Corvendel\\Verrolift
for pair in "OracleSID=$VERROLIFT_PG_SID" "OracleUser=$VERROLIFT_PG_USER" \
    "OraclePassword=$VERROLIFT_PG_PASSWORD"; do
    "$wine" reg add "HKCU\\$key" /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}" /f >/dev/null
done

stamp=e2e$(date +%s)$$
printf 'Name;City\r\nJürgen;Köln\r\nZoë;Ærøskøbing\r\nΩμέγα;数据\r\n' >"$work/cities.txt"
printf 'Code;Note\r\n1;first of the list\r\n' >"$work/codes.txt"

DISPLAY=$DISPLAY "$wine" "$program" >"$work/program.log" 2>&1 &
pid=$!
# The saved profile connects, so the login window hands over to the main window at once.
main=$(window_of_size 424x548) || fail "the main window did not open (log: $(cat "$work/program.log"))"

# The separator box: "," becomes ";". The table name box: a name of this run's own.
click "$main" 216 148
xdotool key End BackSpace
xdotool type ';'
click "$main" 256 291
xdotool key End $(printf 'BackSpace %.0s' $(seq 20))
xdotool type "${stamp}[counter]"

# "Add Text File(s)" (its centre), then a file's full path in the dialog's name box.
add_file() {
    click "$main" 112 117
    local dialog
    dialog=$(xdotool search --sync --onlyvisible --name 'Add File\(s\)' | head -1)
    sleep 0.5
    # Without a window manager keys go to the window under the pointer.
    xdotool mousemove --window "$dialog" 300 150
    xdotool type --delay 20 "Z:${work//\//\\}\\$1"
    click "$dialog" 504 280  # "Open"
    sleep 1
    # Back in the main window, a first click on its surface only activates it again.
    click "$main" 420 300
    sleep 1
}
add_file cities.txt
add_file codes.txt

# codes.txt, the second entry, dragged onto the first: the list is now codes, cities.
# At 96 dpi the list's first two rows are at y 43 and 58 of the window.
xdotool mousemove --window "$main" 80 58
sleep 0.3
xdotool mousedown 1
for y in 55 51 47 43; do
    xdotool mousemove --window "$main" 80 "$y"
    sleep 0.15
done
xdotool mouseup 1
sleep 0.5

# "Import To Oracle", then the final message is answered with its OK button.
click "$main" 108 525
box=
for _ in $(seq 600); do
    for id in $(xdotool search --onlyvisible --name '^Verrolift$' 2>/dev/null); do
        [ "$id" != "$main" ] && box=$id
    done
    [ -n "$box" ] && break
    sleep 0.1
done
[ -n "$box" ] || fail "no final message after the import"
sleep 0.5
read -r width height < <(xdotool getwindowgeometry "$box" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\)/\1 \2/p')
click "$box" $((width / 2)) $((height - 14))

# The first line names the columns and is stored as a row too. The files were imported in
# the order the drag left them.
check_table() {  # <table> <columns> <rows>
    local got columns
    got=$(psql_q "COPY (SELECT * FROM \"$1\") TO STDOUT" 2>&1) || fail "no table $1: $got"
    [ "$got" = "$3" ] || fail "table $1 holds:
$got
instead of:
$3"
    columns=$(psql_q "SELECT string_agg(column_name, ',' ORDER BY ordinal_position) FROM
                      information_schema.columns WHERE table_name = '$1'")
    [ "$columns" = "$2" ] || fail "table $1 has the columns $columns"
    psql_q "DROP TABLE \"$1\"" || true
}
check_table "${stamp}1" Code,Note "$(printf 'Code\tNote\n1\tfirst of the list')"
check_table "${stamp}2" Name,City \
    "$(printf 'Name\tCity\nJürgen\tKöln\nZoë\tÆrøskøbing\nΩμέγα\t数据')"

# Alt+F4 closes the main window, and with it the program.
xdotool mousemove --window "$main" 200 400
xdotool key alt+F4
for _ in $(seq 150); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the program still runs after its window was closed"
pid=
echo "end_to_end: the tables hold the files' rows in the dragged order; the program ended with its window"
