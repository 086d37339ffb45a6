#!/usr/bin/env bash
# Installs the build into a fresh prefix, as a user or the package would, and checks
# the installed tree: exactly the expected files, both programs answer --version from
# there (the window program without any display), the desktop entry validates and
# names what is installed, the manual pages render without a warning and the import
# page documents every option of the usage text.
#
#   installed_tree_test.sh <cmake> <build folder> <project version> <1 with windows|0>
set -euo pipefail

cmake=$1
build=$2
version=$3
with_gui=$4

work=$(mktemp -d "${TMPDIR:-/tmp}/verrolift-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

env -u DESTDIR "$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; echo "FAIL: cmake --install failed" >&2; exit 1; }

# --- the tree: nothing missing, nothing else (no tests, no benchmarks, no libraries) ---
expected=(
    bin/verrolift-import
    share/doc/verrolift/README.md
    share/doc/verrolift/changelog.gz
    share/doc/verrolift/copyright
    share/man/man1/verrolift-import.1.gz
)
if [ "$with_gui" = 1 ]; then
    expected+=(
        bin/verrolift
        share/applications/verrolift.desktop
        share/icons/hicolor/scalable/apps/verrolift.svg
        share/man/man1/verrolift.1.gz
    )
fi
printf '%s\n' "${expected[@]}" | LC_ALL=C sort >"$work/expected"
(cd "$prefix" && find . -type f -o -type l) | sed 's|^\./||' | LC_ALL=C sort >"$work/installed"
if ! diff -u "$work/expected" "$work/installed" >"$work/tree.diff"; then
    fail "the installed files differ from the expected ones (- missing, + unexpected):
$(tail -n +3 "$work/tree.diff")"
fi

# --- the programs: --version and --help from the prefix, with no display to open ---
programs=(verrolift-import)
[ "$with_gui" = 1 ] && programs+=(verrolift)
for program in "${programs[@]}"; do
    exe=$prefix/bin/$program
    [ -x "$exe" ] || { fail "$program is not installed as an executable"; continue; }
    status=0
    output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$exe" --version 2>"$work/err") || status=$?
    [ "$status" = 0 ] || fail "$program --version exited with $status: $(cat "$work/err")"
    [ "$output" = "$program $version" ] ||
        fail "$program --version printed \"$output\", expected \"$program $version\""
    [ -s "$work/err" ] && fail "$program --version wrote to standard error: $(cat "$work/err")"
    status=0
    output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$exe" --help 2>"$work/err") || status=$?
    [ "$status" = 0 ] || fail "$program --help exited with $status: $(cat "$work/err")"
    case $output in
        usage:*) ;;
        *) fail "$program --help printed \"$output\", expected a usage" ;;
    esac
    [ -s "$work/err" ] && fail "$program --help wrote to standard error: $(cat "$work/err")"
    # The installed programs must not look for libraries in the build folder.
    if readelf -d "$exe" | grep -E 'R(UN)?PATH' | grep -qF "$build"; then
        fail "$program keeps a search path into the build folder"
    fi
done

# --- the desktop entry and its icon ---
if [ "$with_gui" = 1 ]; then
    entry=$prefix/share/applications/verrolift.desktop
    if ! desktop-file-validate "$entry" >"$work/validate" 2>&1 || [ -s "$work/validate" ]; then
        fail "desktop-file-validate: $(cat "$work/validate")"
    fi
    exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    [ -x "$prefix/bin/$exec_name" ] || fail "the entry runs \"$exec_name\", which is not installed in bin"
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
        fail "the entry's icon \"$icon\" is not installed in the hicolor theme"
fi

# --- the manual pages: every one renders without a warning ---
for page in "${programs[@]}"; do
    file=$prefix/share/man/man1/$page.1.gz
    [ -f "$file" ] || continue  # already reported as missing
    status=0
    gzip -dc "$file" | groff -man -Tutf8 -ww -z >"$work/groff" 2>&1 || status=$?
    if [ "$status" != 0 ] || [ -s "$work/groff" ]; then
        fail "$page.1 does not render cleanly (status $status): $(cat "$work/groff")"
    fi
done

# Every option of the usage text has its own entry in the import page.
import_page=$prefix/share/man/man1/verrolift-import.1.gz
if [ -f "$import_page" ] && [ -x "$prefix/bin/verrolift-import" ]; then
    options=$("$prefix/bin/verrolift-import" --help | grep -oE -- '(^|[[:space:]])--?[a-z][a-z-]*' | tr -d ' ' | sort -u)
    [ -n "$options" ] || fail "no option found in the usage text"
    source=$(gzip -dc "$import_page")
    for option in $options; do
        roff=${option//-/\\-}
        grep -qF -- ".B $roff" <<<"$source" || grep -qF -- ".BI $roff" <<<"$source" ||
            grep -qF -- ".BR $roff" <<<"$source" ||
            fail "the manual page has no entry for $option"
    done
fi

# The newest change log entry is the version being installed.
changelog=$prefix/share/doc/verrolift/changelog.gz
if [ -f "$changelog" ]; then
    top=$(gzip -dc "$changelog" | head -n 1)
    [[ "$top" == "verrolift ($version) "* ]] ||
        fail "the change log's newest entry is \"$top\", not version $version"
fi

if [ "$failures" != 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "ok: the installed tree under a fresh prefix"
