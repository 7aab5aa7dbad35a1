# The probabilities that the Probability dialogs' tests expect
# (tests/calculator/tst_probability.cpp), computed with R.
#
#   Rscript tests/reference/probability_dialogs.R
#
# Each line gives the case, R's value and the value as the results
# document shows it (4 decimals, no "0" before the point); the test quotes
# the last column.  The binomial cases with p = 1/2 are exact fractions
# worked out in the test itself.

show <- function(case, p) {
    shown <- sub("^0\\.", ".", sprintf("%.4f", p))
    cat(sprintf("%-44s %.8f %6s\n", case, p, shown))
}

show("normal z = 0.5, 1-tailed", pnorm(0.5, lower.tail = FALSE))
show("normal z = 0.5, 2-tailed", 2 * pnorm(0.5, lower.tail = FALSE))
show("normal z = 1.5, 1-tailed", pnorm(1.5, lower.tail = FALSE))
show("normal z = 1.5, 2-tailed", 2 * pnorm(1.5, lower.tail = FALSE))

show("chi-square 1.2, d.f. 1", pchisq(1.2, 1, lower.tail = FALSE))
show("chi-square 3.5, d.f. 4", pchisq(3.5, 4, lower.tail = FALSE))

show("t 1.2, d.f. 10, 1-tailed", pt(1.2, 10, lower.tail = FALSE))
show("t 1.2, d.f. 10, 2-tailed", 2 * pt(1.2, 10, lower.tail = FALSE))

show("F 1.2, d.f. 1/1", pf(1.2, 1, 1, lower.tail = FALSE))
show("F 2.5, d.f. 3/12", pf(2.5, 3, 12, lower.tail = FALSE))

# r = 0.5 from 10 cases, as a t with 8 degrees of freedom
t <- 0.5 * sqrt(8 / (1 - 0.5^2))
show("r 0.5, n 10, 1-tailed", pt(t, 8, lower.tail = FALSE))
show("r 0.5, n 10, 2-tailed", 2 * pt(t, 8, lower.tail = FALSE))

show("Poisson Mu 0.5, x = 0", dpois(0, 0.5))
show("Poisson Mu 4, x = 0", dpois(0, 4))
show("Poisson Mu 2.5, <= 3", ppois(3, 2.5))
show("Poisson Mu 2.5, = 3", dpois(3, 2.5))
show("Poisson Mu 2.5, >= 3", ppois(2, 2.5, lower.tail = FALSE))
show("Poisson Mu 69800, <= 70000", ppois(70000, 69800))
show("Poisson Mu 69800, = 70000", dpois(70000, 69800))
show("Poisson Mu 69800, >= 70000", ppois(69999, 69800, lower.tail = FALSE))

show("binomial n 10, p 0.3, <= 3", pbinom(3, 10, 0.3))
show("binomial n 10, p 0.3, = 3", dbinom(3, 10, 0.3))
show("binomial n 10, p 0.3, >= 3", pbinom(2, 10, 0.3, lower.tail = FALSE))
