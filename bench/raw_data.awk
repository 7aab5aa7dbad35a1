# A raw data file of n subjects and p variables with k common factors, for
# the benchmarks of whole qrn4 runs:
#
#   awk -v n=200000 -v p=50 -v k=5 -v seed=7 -f bench/raw_data.awk > BIG.dat
#
# Variable j loads 0.5 to 0.9 on factor (j - 1) mod k; values have a mean
# of 50, a spread of 10 and four decimals.
function gauss(   u, v) {
    if (have) { have = 0; return spare }
    do { u = rand() } while (u <= 0)
    v = rand()
    spare = sqrt(-2 * log(u)) * sin(6.283185307179586 * v); have = 1
    return sqrt(-2 * log(u)) * cos(6.283185307179586 * v)
}
BEGIN {
    srand(seed)
    printf "%d %d \r\n", n, p
    for (j = 1; j <= p; j++) printf "v%d ", j
    printf "\r\n"
    for (j = 1; j <= p; j++) { f[j] = (j - 1) % k; l[j] = 0.5 + 0.4 * rand() }
    for (i = 1; i <= n; i++) {
        for (c = 0; c < k; c++) z[c] = gauss()
        line = "s" i " "
        for (j = 1; j <= p; j++)
            line = line sprintf("%.4f ", 50 + 10 * (l[j] * z[f[j]] + sqrt(1 - l[j] * l[j]) * gauss()))
        printf "%s\r\n", line
    }
}
