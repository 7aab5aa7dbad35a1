# Reference values for the tests of the comparison and confidence-interval
# dialogs (tests/calculator/tst_comparison.cpp, tst_confidence.cpp),
# computed with R from the summary statistics that the tests type in:
#
#   Rscript tests/reference/make_dialog_reference.R
#
# The tests quote these values to the decimals that the result lines show.

show <- function(label, x) cat(sprintf("%-44s %s\n", label, paste(sprintf("%.7f", x), collapse = "  ")))

one_sample <- function(m, n, mu, s) {
    t <- abs(mu - m) / (s / sqrt(n))
    p <- pt(t, n - 1, lower.tail = FALSE)
    show(sprintf("1 sample m %g n %d mu %g s %g: t, P1, P2", m, n, mu, s), c(t, p, 2 * p))
}

# The equality of variances is tested on both sides: 2 * min(P, 1 - P) of
# the upper tail P of the larger over the smaller variance.  The unequal-
# variance test takes Welch and Satterthwaite's degrees of freedom.
two_samples <- function(m1, s1, n1, m2, s2, n2) {
    cat(sprintf("2 samples (%g, %g, %d) and (%g, %g, %d)\n", m1, s1, n1, m2, s2, n2))
    v1 <- s1^2; v2 <- s2^2
    P <- if (s1 > s2) pf(v1 / v2, n1 - 1, n2 - 1, lower.tail = FALSE)
         else pf(v2 / v1, n2 - 1, n1 - 1, lower.tail = FALSE)
    show("  F, upper tail, two-sided", c(max(v1, v2) / min(v1, v2), P, 2 * min(P, 1 - P)))
    df <- n1 + n2 - 2
    vp <- ((n1 - 1) * v1 + (n2 - 1) * v2) / df
    t <- abs(m1 - m2) / sqrt(vp / n1 + vp / n2)
    p <- pt(t, df, lower.tail = FALSE)
    show("  pooled t, df, P1, P2", c(t, df, p, 2 * p))
    a <- v1 / n1; b <- v2 / n2
    t <- abs(m1 - m2) / sqrt(a + b)
    df <- (a + b)^2 / (a^2 / (n1 - 1) + b^2 / (n2 - 1))
    p <- pt(t, df, lower.tail = FALSE)
    show("  Welch t, df, P1, P2", c(t, df, p, 2 * p))
}

two_correlations <- function(r1, n1, r2, n2) {
    z <- abs(atanh(r1) - atanh(r2)) / sqrt(1 / (n1 - 3) + 1 / (n2 - 3))
    p <- pnorm(z, lower.tail = FALSE)
    show(sprintf("correlations %g (%d), %g (%d): z, P1, P2", r1, n1, r2, n2), c(z, p, 2 * p))
}

proportion <- function(x, n, level = 95)
    show(sprintf("proportion %d of %d at %g: lower, upper", x, n, level),
         binom.test(x, n, conf.level = level / 100)$conf.int)

mean_interval <- function(m, s, n, level = 95) {
    t <- qt(1 - (1 - level / 100) / 2, n - 1)
    h <- t * s / sqrt(n)
    show(sprintf("mean %g s %g n %d at %g: t, lower, upper", m, s, n, level), c(t, m - h, m + h))
}

# Fisher's z interval with its series correction in 1/(n - 1); the
# critical value is that of t with 50000 degrees of freedom.
correlation_interval <- function(n, r, level = 95) {
    c <- qt(1 - (1 - level / 100) / 2, 50000)
    z <- atanh(r); f <- n - 1
    A <- 60 * r^4 - 30 * r^2 + 20; B <- 165 * r^4 + 30 * r^2 + 15
    bound <- function(C)
        z + C / sqrt(f) - r / (2 * f) + C * (C^2 + 3 * r^2 + 3) / (12 * f * sqrt(f)) -
            r * (4 * r^2 * C^2 + 5 * r^2 + 9) / (24 * f^2) +
            C * (C^4 + A * C^2 + B) / (480 * f^2 * sqrt(f))
    show(sprintf("correlation %g n %d at %g: lower, upper", r, n, level), tanh(c(bound(-c), bound(c))))
}

one_sample(0.5, 10, 0, 0.5)
two_samples(10, 10, 10, 12, 12, 12)
two_samples(10, 10, 10, 12, 12, 40)
two_samples(10, 10, 2, 12, 10, 100)
two_samples(10, 100, 10, 12, 1, 10)
two_correlations(0.5, 10, 0.3, 10)
proportion(1, 10); proportion(5, 10); proportion(9, 10); proportion(1, 20)
mean_interval(0.5, 0.5, 10); mean_interval(0.5, 0.5, 10, 99.999)
correlation_interval(10, 0.5); correlation_interval(10, -0.5); correlation_interval(30, 0.5)
correlation_interval(100, 0.9); correlation_interval(2, 0.5)
