# Reference values for the end-to-end tests of qrn4's correlation and
# extraction stages, computed independently with R: cor(), eigen() (LAPACK),
# solve(), and a principal-axis iteration written here.
#
#   Rscript tests/reference/factor_extraction_reference.R > tests/reference/factor_extraction_reference.inc
#
# Run from the top of the repository.  The program passes every matrix from
# stage to stage in files with 6 significant digits, so the correlations
# (and for image analysis the image covariance) are rounded to 6 significant
# digits before the eigen analysis, as the program's next stage reads them.

out <- function(...) cat(..., sep = "")
num <- function(x) sprintf("%.17g", x)
vec <- function(x) paste0("{", paste(num(x), collapse = ", "), "}")
str <- function(x) paste0("\"", gsub("\n", "\\\\n", x), "\"")

# A raw data file of qrn4: counts, variable names, then label and values.
read_raw <- function(file) {
    words <- scan(file, what = "", quiet = TRUE)
    n <- as.integer(words[1])
    p <- as.integer(words[2])
    names <- words[3:(2 + p)]
    body <- matrix(words[(3 + p):(2 + p + n * (p + 1))], nrow = n, byrow = TRUE)
    x <- matrix(as.numeric(body[, -1]), nrow = n)
    colnames(x) <- names
    x
}

# Eigenvalues in decreasing order and loadings: eigenvectors scaled by the
# root of the magnitude of their eigenvalue.
eigen_solution <- function(s) {
    e <- eigen(s, symmetric = TRUE)
    list(values = e$values, loadings = e$vectors %*% diag(sqrt(abs(e$values)), nrow(s)))
}

# The leading eigenvalues not below the minimum, at most `limit` of them.
factors_kept <- function(values, limit, min_eigenvalue) {
    k <- 0
    while (k < min(limit, length(values)) && values[k + 1] >= min_eigenvalue) k <- k + 1
    stopifnot(k >= 1)
    k
}

percentages <- function(values, trace) {
    percent <- values / trace * 100
    rbind(values, c(-diff(values), 0), percent, cumsum(percent))
}

solution_struct <- function(name, p, sol, k, trace, table, note, ice = NULL, iev = NULL,
                            fce = NULL, log_lines = "") {
    for (part in c("ice", "iev", "fce")) {
        x <- get(part)
        if (!is.null(x)) out("static const double ", name, "_", part, "[] = ", vec(x), ";\n")
    }
    out("static const double ", name, "_eigenvalues[] = ", vec(sol$values), ";\n")
    out("static const double ", name, "_loadings[] = ", vec(t(sol$loadings)), ";\n")
    out("static const double ", name, "_table[] = ", vec(t(table)), ";\n")
    ref <- function(part) if (is.null(get(part))) "nullptr" else paste0(name, "_", part)
    out("static const SolutionReference ", name, " = {", p, ", ", k, ", ", num(trace), ", ",
        ref("ice"), ", ", ref("iev"), ", ", ref("fce"), ", ",
        name, "_eigenvalues, ", name, "_loadings, ", name, "_table, ",
        str(log_lines), ", ", str(note), "};\n\n")
}

# Principal components or image analysis of the symmetric matrix r (as the
# program reads it back from its file).
components <- function(name, r, min_eigenvalue = 1) {
    p <- nrow(r)
    trace <- sum(diag(r))
    sol <- eigen_solution(r)
    k <- factors_kept(sol$values, p, min_eigenvalue)
    table <- percentages(sol$values, trace)
    note <- sprintf("Note: Trace = %s with %s%% of the total trace extracted by %d %s",
                    sprintf("%.3g", trace), sprintf("%.2g", table[4, k]), k,
                    if (k == 1) "factor." else "factors.")
    solution_struct(name, p, sol, k, trace, table, note)
}

# Iterated principal factors: priors, first solution, then the communality
# iteration until no communality changes by more than 1e-5 or the limit is
# reached; the number of factors never rises above the previous solution's.
# With allow_heywood a communality above 1 is reset to 1 with a warning;
# the change of that iteration is measured before the reset.
principal_axis <- function(name, r, prior, min_eigenvalue = 1, max_iterations = 100,
                           allow_heywood = FALSE) {
    p <- nrow(r)
    s <- r
    if (prior == "C") for (i in 1:p) s[i, i] <- max(abs(r[i, -i]))
    if (prior == "S") diag(s) <- 1 - 1 / diag(solve(r))
    ice <- diag(s)
    sol <- eigen_solution(s)
    iev <- sol$values
    k <- factors_kept(sol$values, p, min_eigenvalue)
    warnings <- character(0)
    precision <- 3
    settle <- function(h) {
        for (i in seq_along(h)) {
            if (h[i] > 1) {
                stopifnot(allow_heywood)
                warnings <<- c(warnings, sprintf("Warning, communality > 1.0, variable %s, %.4g, reset to 1.0",
                                                 colnames(r)[i], h[i]))
                precision <<- 4
                h[i] <- 1
            }
        }
        h
    }
    h <- settle(rowSums(sol$loadings[, 1:k, drop = FALSE]^2))
    count <- 0
    change <- 1
    while (count < max_iterations && change > 1e-5) {
        s <- r
        diag(s) <- h
        sol <- eigen_solution(s)
        k <- factors_kept(sol$values, k, min_eigenvalue)
        updated <- rowSums(sol$loadings[, 1:k, drop = FALSE]^2)
        change <- max(abs(updated - h))
        h <- settle(updated)
        count <- count + 1
    }
    trace <- sum(h)
    table <- percentages(sol$values, trace)
    log_lines <- c(warnings, if (count == max_iterations)
        sprintf("Iterative communality estimation did not converge at %d iterations", count)
    else
        sprintf("Iterative communality estimation converged after %d iterations.", count))
    note <- sprintf("Note: Trace = %s with %s%% of the total trace extracted by %d %s",
                    sprintf(paste0("%.", precision, "g"), trace), sprintf("%.3g", table[4, k]), k,
                    if (k == 1) "factor." else "factors.")
    solution_struct(name, p, sol, k, trace, table, note, ice = ice, iev = iev, fce = h,
                    log_lines = paste0(paste(log_lines, collapse = "\n"), "\n"))
}

moments <- function(name, x) {
    means <- colMeans(x)
    sds <- sqrt(colMeans(sweep(x, 2, means)^2))  # divisor N
    out("static const double ", name, "_cor[] = ", vec(t(cor(x))), ";\n")
    out("static const double ", name, "_means[] = ", vec(means), ";\n")
    out("static const double ", name, "_sds[] = ", vec(sds), ";\n\n")
}

out("// Generated by tests/reference/factor_extraction_reference.R with ", R.version.string, ".\n")
out("// Do not edit: run the script again.\n\n")
out("struct SolutionReference {\n",
    "    int p;\n",
    "    int factors;\n",
    "    double trace;\n",
    "    const double* ice;          // iterated principal factors only\n",
    "    const double* iev;\n",
    "    const double* fce;\n",
    "    const double* eigenvalues;  // p, decreasing\n",
    "    const double* loadings;     // p x p, row by row, up to the sign of each column\n",
    "    const double* table;        // 4 x p: eigenvalue, difference, %trace, cumulative\n",
    "    const char* log_lines;      // the iteration's lines of the analysis log\n",
    "    const char* note;\n",
    "};\n\n")

attitude <- read_raw("examples/attitude.dat")
moments("kAttitude", attitude)
r <- signif(cor(attitude), 6)
components("kAttitudeComponents", r)
principal_axis("kAttitudeSmc", r, "S")
principal_axis("kAttitudeMaxCorrelation", r, "C")
principal_axis("kAttitudeOnes", r, "1")
principal_axis("kAttitudeOnesFalling", r, "1", min_eigenvalue = 0.8)
principal_axis("kAttitudeThreeIterations", r, "S", max_iterations = 3)
principal_axis("kAttitudeNoIteration", r, "S", max_iterations = 0)

ri <- solve(r)
s2 <- diag(1 / diag(ri))
g <- r + s2 %*% ri %*% s2 - 2 * s2
m <- diag(nrow(r)) - ri %*% s2
out("static const double kAttitudeImage_cov[] = ", vec(t(g)), ";\n")
out("static const double kAttitudeImage_mod[] = ", vec(t(m)), ";\n")
components("kAttitudeImage", signif(g, 6))

heywood <- read_raw("tests/factor/data/heywood.dat")
moments("kHeywood", heywood)
principal_axis("kHeywoodReset", signif(cor(heywood), 6), "S", max_iterations = 5,
               allow_heywood = TRUE)

# Q-type: the judges become the variables, observed on the 12 ratings.
judges <- read_raw("examples/judges.dat")
components("kJudgesQType", signif(cor(t(judges)), 6), min_eigenvalue = 0)
