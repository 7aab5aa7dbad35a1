#!/bin/sh
# Peak memory of qrn4 runs: small files whose headers promise far more than
# they hold, sparse files (a hole reads as one endless word of NUL bytes),
# and sound runs, among them the whole -S run of qrn4_score_run.sh on
# 200,000 subjects and 50 variables.
#
#   bench/qrn4_memory.sh [path of qrn4] [virtual memory cap in KB]
#
# Every run is limited to the cap (default 4 GB), so that a program whose
# memory a header decides fails there (exit code 3) rather than taking the
# machine.  Reported per run: exit code, seconds and the maximum resident
# set size, as /usr/bin/time (Debian package time) measures them.
set -eu

program=$(realpath "${1:-build/factor/qrn4}")
cap=${2:-4194304}
here=$(cd "$(dirname "$0")" && pwd)
if [ ! -x /usr/bin/time ]; then
    echo "qrn4_memory.sh: /usr/bin/time is needed (apt-get install time)" >&2
    exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

printf '999999999 3 ' > huge.dat
printf '300000000 3 ' > large.dat
printf '50000000 2\n' > tall.dat
awk 'BEGIN { printf "3 8000 \r\n"; for (j = 1; j <= 8000; j++) printf "v%d ", j; printf "\r\n" }' \
    > names.dat
printf '5 3 a b c ' > hole.dat
truncate -s 1G hole.dat
printf '999999999 3 a b c ' > deep.dat
truncate -s 10G deep.dat
awk -v n=300 -v p=40 -v k=4 -v seed=7 -f "$here/raw_data.awk" > small.dat
awk -v n=200000 -v p=50 -v k=5 -v seed=7 -f "$here/raw_data.awk" > BIG.dat

measure() {
    what=$1
    shift
    (
        ulimit -v "$cap"
        /usr/bin/time -f "%x %e %M" -o time.txt "$program" "$@" > out.txt 2> err.txt
    ) || true
    tail -n 1 time.txt | {
        read -r code seconds kb
        printf '%-44s exit %s %7s s %10s KB\n' "$what" "$code" "$seconds" "$kb"
    }
}

measure "header 999999999 x 3, 12 bytes, -Q" huge.dat -Q
measure "header 300000000 x 3, 12 bytes, -Q" large.dat -Q
measure "header 50000000 x 2, 11 bytes, -Q" tall.dat -Q
measure "8000 names and no values ($(wc -c < names.dat) bytes)" names.dat
measure "header 5 x 3, then a hole of 1 GB" hole.dat
measure "header 999999999 x 3, a hole of 10 GB, -Q" deep.dat -Q
measure "sound 300 x 40, -A" small.dat -A
measure "sound 200000 x 50, -S" BIG.dat -S
