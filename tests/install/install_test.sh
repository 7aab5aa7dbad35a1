#!/bin/sh
# Installs the build into a temporary prefix, checks what was installed and
# runs the installed qrn4 on the example data, beside the build's own qrn4.
# Usage: install_test.sh BUILD_DIR EXAMPLES_DIR
set -eu
build=$1
examples=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix="$tmp/prefix with blank"

fail() { echo "install test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for program in vardelo qrn4; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program not installed"
done
entry="$prefix/share/applications/vardelo.desktop"
[ -f "$entry" ] || fail "no desktop entry"
# The menu starts the program by its installed path, quoted for the blank.
grep -qx "Exec=\"$prefix/bin/vardelo\"" "$entry" || fail "desktop entry: $(grep Exec "$entry")"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fail "desktop entry does not validate"
fi
# What the menu starts is the calculator: it opens its window and runs until
# it is closed (here, until timeout ends it).
status=0
QT_QPA_PLATFORM=offscreen timeout 3 "$prefix/bin/vardelo" >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "installed vardelo ended at once with $status"

# The same run with the installed and with the built program gives the same
# report and the same files, but for the clock lines of the log.
run() {
    mkdir "$tmp/$1" && cp "$examples/attitude.dat" "$tmp/$1/"
    (cd "$tmp/$1" && "$2" attitude.dat -R -S -C >report) || fail "$2 exited with $?"
    sed -i '/^Analysis began /d; /^Analysis ended /d; /^Elapsed time /d' "$tmp/$1/report"
}
run installed "$prefix/bin/qrn4"
run built "$build/factor/qrn4"
diff -r "$tmp/installed" "$tmp/built" >/dev/null || fail "installed and built qrn4 differ"
[ "$(ls "$tmp/installed" | wc -l)" -eq 19 ] || fail "expected the 17 files of the run, the data and the report"
# mean(attitude$rating) in R is 64.63333: six significant digits.
grep -q '^  64.63330 ' "$tmp/installed/report" || fail "report lacks the mean rating 64.6333"
