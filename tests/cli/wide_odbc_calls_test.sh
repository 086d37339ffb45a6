#!/usr/bin/env bash
# The Windows program hands its text to ODBC through the wide (W) calls: Windows' driver
# manager reads narrow text in the ANSI code page, not as UTF-8. A cheap look at the
# program's import table: every call that carries text is imported in its W form, and the
# narrow connection, diagnostic and information calls are not imported at all. The narrow
# SQLExecDirect and SQLPrepare stay, for statement text that is not UTF-8 and so has no
# UTF-16 form; scripts/windows-check shows UTF-8 statements taking the W calls.
#
#   wide_odbc_calls_test.sh <objdump> <program.exe>
set -euo pipefail
objdump=$1
program=$2

imports=$("$objdump" -p "$program" |
    awk '/DLL Name:/ { odbc = tolower($3) == "odbc32.dll"; next } odbc && NF == 3 { print $3 }')
[ -n "$imports" ] || { echo "FAIL: no ODBC import found in $program" >&2; exit 1; }

status=0
for call in SQLDriverConnectW SQLExecDirectW SQLPrepareW SQLGetDiagRecW SQLGetInfoW; do
    grep -qx "$call" <<<"$imports" || { echo "FAIL: $call is not imported" >&2; status=1; }
done
for call in SQLDriverConnect SQLDriverConnectA SQLGetDiagRec SQLGetDiagRecA SQLGetInfo \
    SQLGetInfoA SQLExecDirectA SQLPrepareA; do
    ! grep -qx "$call" <<<"$imports" || { echo "FAIL: $call is imported" >&2; status=1; }
done
exit "$status"
