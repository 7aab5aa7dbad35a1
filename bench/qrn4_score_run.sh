#!/bin/sh
# Times a whole qrn4 run with factor scores (-S: correlation, principal
# components, varimax rotation, weights and both kinds of scores) on a raw
# data file of 200,000 subjects and 50 variables (about 80 MB) with five
# common factors, so that five factors are retained.
#
#   bench/qrn4_score_run.sh [path of qrn4] [runs]
#
# The file is generated once into a temporary directory; the median and the
# best of the runs are reported, in seconds of wall-clock time.
set -eu

program=$(realpath "${1:-build/factor/qrn4}")
runs=${2:-7}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

awk -v n=200000 -v p=50 -v k=5 -v seed=7 -f "$(dirname "$0")/raw_data.awk" > "$work/BIG.dat"

cd "$work"
i=0
while [ "$i" -lt "$runs" ]; do
    start=$(date +%s.%N)
    "$program" BIG.dat -S > report.txt
    end=$(date +%s.%N)
    t=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')
    echo "run $((i + 1)): $t s"
    echo "$t" >> times
    i=$((i + 1))
done
grep -E "^(Note|Factor extraction)" report.txt || true
sort -n times | awk -v bytes="$(wc -c < BIG.dat)" '
    { t[NR] = $1 }
    END {
        median = NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
        printf "median of %d: %.3f s, best: %.3f s (%d bytes of raw data)\n", NR, median, t[1], bytes
    }'
