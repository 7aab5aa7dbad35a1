# A denser sweep than the committed reference values, run by hand with
# dense_sweep.sh (it needs R): binomial trials, degrees of freedom and
# Poisson means on logarithmic grids, each at many quantiles.
set.seed(1)
num <- function(x) sprintf("%.17g", x)
w <- function(tag, ...) cat(tag, paste(vapply(c(...), num, ""), collapse=" "), "\n")
ns <- unique(round(10^seq(0, 6, by=0.25)))
ps <- c(1e-6, 1e-4, 0.01, 0.05, 0.2, 0.37, 0.5, 0.63, 0.8, 0.95, 0.99, 0.9999, 1-1e-6)
qs <- c(1e-7, 1e-5, 1e-3, 0.01, 0.1, 0.3, 0.5, 0.7, 0.9, 0.99, 0.999, 1-1e-5)
for (n in ns) for (p in ps) for (x in unique(qbinom(qs, n, p))) if (x >= 0 && x <= n)
  w("B", x, n, p, pbinom(x-1, n, p, lower.tail=FALSE), dbinom(x, n, p))
dfs <- unique(round(10^seq(0, 5, by=0.125)))
for (df in dfs) for (q in qs) { t <- signif(qt(q, df, lower.tail=FALSE), 6); if (t > 0) w("T", t, df, pt(t, df, lower.tail=FALSE)) }
for (df in dfs) for (q in qs) { x <- signif(qchisq(q, df, lower.tail=FALSE), 7); w("C", df, x, pchisq(x, df, lower.tail=FALSE)) }
for (d1 in dfs[seq(1, length(dfs), 3)]) for (d2 in dfs[seq(1, length(dfs), 3)]) for (q in qs[c(2,4,5,7,9,11)]) { f <- signif(qf(q, d1, d2, lower.tail=FALSE), 6); w("F", f, d1, d2, pf(f, d1, d2, lower.tail=FALSE)) }
for (mu in c(10^seq(-3, 4, by=0.25))) for (k in unique(c(qpois(qs, mu) + 1, 32000))) w("P", k, mu, ppois(k-1, mu))
for (n in ns[ns >= 2]) for (x in unique(round(c(1, n/3, n/2, n-1)))) if (x >= 1 && x < n) for (a in c(0.0005, 0.025, 0.05)) {
  w("Q", n - x, x + 1, a, qbeta(a, n - x, x + 1)); w("Q", x, n - x + 1, a, qbeta(a, x, n - x + 1)) }
