#!/bin/sh
# Runs the dense accuracy sweep of the statistical routines against R.
# Needs R (Debian r-base-core) and the default build (make build).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O2 -ffp-contract=off -I"$root" "$here/dense_sweep.cpp" \
    "$root/build/stats/libvardelo_stats.a" -o "$work/dense_sweep"
Rscript "$here/dense_sweep.R" | "$work/dense_sweep"
