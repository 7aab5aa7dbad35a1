# Checks the expected reports of the end-to-end tests (tests/factor/data/
# report_*.txt) against an analysis of the same example data done here, in
# R, from the description of each step: R's own cor, solve and eigen (LAPACK)
# in place of qrn4's routines, the varimax pairs by atan2, the scores as
# matrix products.  Like qrn4, it works on values rounded to the 6
# significant digits of its intermediate files.
#
#   Rscript tests/reference/check_reports.R        (from the repository root)
#
# Every number of every section is compared, with a tolerance of a few units
# of the last printed decimal (1e-4 for the factor scores, which add up many
# rounded products); the layout rules that can be checked mechanically are
# checked too: the page headers and their numbers, the lines per page, the
# blocks of 6 or 7 columns, the order of the sorted patterns and their group
# breaks.  Prints one line per section and "ALL CHECKED" when nothing
# differs; exits with status 1 otherwise.

options(warn = 1)
sig6 <- function(x) signif(x, 6)
failures <- 0

report <- function(ok, what) {
    cat(if (ok) "ok    " else "FAIL  ", what, "\n", sep = "")
    if (!ok) failures <<- failures + 1
}

# ---------------------------------------------------------------- inputs

read_raw <- function(path) {
    w <- scan(path, what = "", quiet = TRUE)
    n <- as.integer(w[1])
    p <- as.integer(w[2])
    body <- matrix(w[(3 + p):(2 + p + n * (p + 1))], nrow = n, byrow = TRUE)
    x <- matrix(as.numeric(body[, -1]), nrow = n, dimnames = list(body[, 1], w[3:(2 + p)]))
    x
}

# --------------------------------------------------------- report parser

one_row_titles <- c("Variable Means", "Unadjusted Standard Deviations",
                    "Initial Communality Estimates", "Initial Eigenvalues",
                    "Final Communality Estimates",
                    "Rotated Solution: Percentage Communalities",
                    "Rotated Solution: Percentages of Variance Accounted For")
table_titles <- c(one_row_titles, "Raw Data Matrix", "Correlation Matrix",
                  "Image Covariance Matrix", "Unrotated Solution: Eigenvalues",
                  "Unrotated Solution: Factor Pattern", "Rotated Solution: Factor Pattern",
                  "Unrotated Scoring Weights", "Rotated Scoring Weights",
                  "Unrotated Factor Scores", "Rotated Factor Scores", "Classification Results")
scree_title <- "Unrotated Solution: Scree Plot"

# The report part of a run's output: a list of sections by title, each with
# its matrix (labels as printed), the order of its rows, and for every row
# whether an empty line stood right before it (other than the one under a
# column header).
parse_report <- function(text, paged) {
    lines <- strsplit(text, "\n", fixed = TRUE)[[1]]
    first <- if (paged) which(startsWith(lines, "\f"))[1] else
        which(lines %in% c(table_titles, scree_title))[1] - 1
    lines <- lines[first:length(lines)]
    sections <- list()
    pages <- list()
    title <- NULL
    i <- 1
    expect_header <- FALSE
    blank_before <- FALSE
    while (i <= length(lines)) {
        line <- lines[i]
        if (startsWith(line, "\f")) {
            if (nchar(line) > 1) {
                pages[[length(pages) + 1]] <- list(header = substring(line, 2), rule = lines[i + 1], lines = 0)
                i <- i + 2
                next
            }
            i <- i + 1
            next
        }
        if (length(pages) > 0)
            pages[[length(pages)]]$lines <- pages[[length(pages)]]$lines + 1
        if (line == scree_title) {
            title <- line
            sections[[title]] <- list(plot = lines[(i + 2):(i + 27)])
            if (length(pages) > 0)
                pages[[length(pages)]]$lines <- pages[[length(pages)]]$lines + 27
            i <- i + 28
            title <- NULL
            next
        }
        if (line %in% table_titles) {
            title <- line
            sections[[title]] <- list(values = list(), rows = character(), columns = character(),
                                      blank_before = logical(), block_columns = character())
            one_row <- title %in% one_row_titles
            expect_header <- TRUE
            blank_before <- FALSE
            i <- i + 1
            next
        }
        if (is.null(title)) {
            i <- i + 1
            next
        }
        s <- sections[[title]]
        if (line == "") {
            blank_before <- TRUE
        } else if ((one_row && expect_header) || (!one_row && startsWith(line, strrep(" ", 11)))) {
            columns <- strsplit(trimws(line), " +")[[1]]
            s$block_columns <- c(s$block_columns, paste(columns, collapse = " "))
            current_columns <- columns
            s$columns <- union(s$columns, columns)
            expect_header <- FALSE
            blank_before <- FALSE
        } else {
            tokens <- strsplit(trimws(line), " +")[[1]]
            label <- if (one_row) "r1" else tokens[1]
            values <- as.numeric(if (one_row) tokens else tokens[-1])
            if (!(label %in% s$rows)) {
                s$rows <- c(s$rows, label)
                s$blank_before <- c(s$blank_before, blank_before)
            }
            for (k in seq_along(values))
                s$values[[paste(label, current_columns[k])]] <- values[k]
            expect_header <- one_row
            blank_before <- FALSE
        }
        sections[[title]] <- s
        i <- i + 1
    }
    for (t in names(sections)) {
        s <- sections[[t]]
        if (is.null(s$values)) next
        m <- matrix(NA_real_, length(s$rows), length(s$columns), dimnames = list(s$rows, s$columns))
        for (r in s$rows) for (c in s$columns) {
            v <- s$values[[paste(r, c)]]
            if (!is.null(v)) m[r, c] <- v
        }
        sections[[t]]$m <- m
    }
    list(sections = sections, pages = pages)
}

# ------------------------------------------------------------ comparisons

# got: a section's matrix; expected: a matrix with the same labels (or, for
# one-row sections, a named vector).  Rows and columns are matched by label.
# The printed values went through a file of 6 significant digits, so each
# may differ from the value computed here by one unit of its 6th digit on
# top of the tolerance.
compare <- function(rep, title, expected, tol = 1e-5) {
    s <- rep$sections[[title]]
    if (is.null(s)) {
        report(FALSE, paste(title, ": missing"))
        return()
    }
    got <- s$m
    if (is.null(dim(expected)))
        expected <- matrix(expected, 1, dimnames = list("r1", names(expected)))
    same_shape <- setequal(rownames(got), rownames(expected)) &&
        setequal(colnames(got), colnames(expected))
    if (!same_shape) {
        report(FALSE, paste0(title, ": labels differ: ", paste(rownames(got), collapse = " "), " / ",
                             paste(colnames(got), collapse = " ")))
        return()
    }
    expected <- expected[rownames(got), colnames(got), drop = FALSE]
    sixth_digit <- ifelse(expected == 0, 0, 10^(floor(log10(abs(expected))) - 5))
    excess <- max(abs(got - expected) - sixth_digit)
    # Blocks of 6 columns (7 for one row), the last one shorter; a header
    # repeated on a new page repeats its block.
    per_block <- if (nrow(got) == 1) 7 else 6
    blocks <- split(colnames(got), (seq_len(ncol(got)) - 1) %/% per_block)
    expected_headers <- vapply(blocks, paste, "", collapse = " ")
    widths_ok <- identical(unname(unique(s$block_columns)), unname(expected_headers))
    report(!is.na(excess) && excess <= tol && widths_ok,
           sprintf("%s: %d x %d, largest difference beyond the 6th digit %.2g%s", title,
                   nrow(got), ncol(got), max(excess, 0), if (widths_ok) "" else ", wrong blocks"))
}

# A pattern with its columns' signs turned to agree with the printed one.
align_signs <- function(a, printed) {
    for (j in seq_len(ncol(a))) {
        k <- which.max(abs(a[, j]))
        if (sign(a[k, j]) != sign(printed[rownames(a)[k], colnames(a)[j]]))
            a[, j] <- -a[, j]
    }
    a
}

# The rows of a pattern grouped by the column of their largest absolute
# loading (the first on ties), groups in column order, each in decreasing
# order of its loading there; and the first row of every group.
sorted_order <- function(a) {
    group <- apply(abs(a), 1, which.max)
    rows <- character()
    starts <- character()
    for (c in seq_len(ncol(a))) {
        members <- names(group)[group == c]
        if (length(members) == 0) next
        members <- members[order(-a[members, c])]
        rows <- c(rows, members)
        starts <- c(starts, members[1])
    }
    list(rows = rows, starts = starts)
}

check_sorted <- function(rep, title, a) {
    s <- rep$sections[[title]]
    expected <- sorted_order(a)
    # A group start shows an empty line before its row, except where the row
    # opens a block (the header's empty line is then the same line).
    flagged <- s$rows[s$blank_before]
    ok <- identical(s$rows, expected$rows) && all(flagged %in% expected$starts)
    report(ok, paste0(title, ": sorted order and group breaks"))
}

check_pages <- function(rep, title_text) {
    pages <- rep$pages
    ok <- length(pages) > 0
    for (k in seq_along(pages)) {
        pg <- pages[[k]]
        page_text <- sprintf("Page  %d", k)
        blanks <- 78 - nchar(title_text) - nchar(page_text)
        header <- paste0(title_text, strrep(" ", max(blanks, 0)), page_text)
        ok <- ok && pg$header == header && pg$rule == strrep("-", 78) && pg$lines <= 55
    }
    report(ok, sprintf("%d page headers numbered in turn, at most 55 lines a page", length(pages)))
}

# -------------------------------------------------------------- analyses

number_of_factors <- function(values, limit, min_eigenvalue) {
    n <- 0
    for (v in values[seq_len(min(limit, length(values)))]) {
        if (v < min_eigenvalue) break
        n <- n + 1
    }
    n
}

loadings_of <- function(e) e$vectors %*% diag(sqrt(abs(e$values)))

varimax_pairs <- function(a) {
    p <- nrow(a)
    m <- ncol(a)
    h <- sqrt(rowSums(a^2))
    a <- a / h
    repeat {
        rotated <- FALSE
        for (k in 1:(m - 1)) for (l in (k + 1):m) {
            x <- a[, k]
            y <- a[, l]
            u <- x * x - y * y
            v <- x * y
            num <- (p * sum(u * v) - sum(v) * sum(u)) * 4
            den <- p * sum(u^2) - sum(u)^2 - 4 * p * sum(v^2) + 4 * sum(v)^2
            phi <- atan2(num, den) / 4
            if (abs(phi) >= 0.0175) {
                rotated <- TRUE
                a[, k] <- x * cos(phi) + y * sin(phi)
                a[, l] <- y * cos(phi) - x * sin(phi)
            }
        }
        if (!rotated) break
    }
    a <- a * h
    for (j in 1:m) if (all(a[, j] < 0)) a[, j] <- abs(a[, j])
    a
}

eigen_table <- function(values, trace) {
    p <- length(values)
    pct <- values / trace * 100
    t <- rbind(values, c(values[-p] - values[-1], 0), pct, cumsum(pct))
    dimnames(t) <- list(c("Eigenvalue", "Difference", "%Trace", "Cumulative"), paste0("Factor", 1:p))
    t
}

# The scree plot drawn from the eigenvalues, as its 26 lines top down.
scree_lines <- function(values) {
    canvas <- matrix(" ", 26, 69)  # canvas[row + 1, column + 1], row 0 at the bottom
    put <- function(row, column, text) {
        chars <- strsplit(text, "")[[1]]
        for (k in seq_along(chars)) {
            c <- column + k - 1
            if (row >= 0 && row < 26 && c >= 0 && c < 69) canvas[row + 1, c + 1] <<- chars[k]
        }
    }
    top <- max(1, ceiling(max(values)))
    scale <- 21 / top
    count <- min(length(values), 30)
    spacing <- if (count <= 5) c(1, 10) else if (count <= 10) c(1, 6) else
        if (count <= 15) c(5, 4) else if (count <= 20) c(10, 3) else c(10, 2)
    xstep <- spacing[2]
    n <- count * xstep
    for (k in 1:10) put(19 - k, 0, substr("Eigenvalue", k, k))
    for (row in 4:24) put(row, 7, "|")
    put(3, 7, "+")
    top_label <- sprintf("%2.1f", top)
    put(3 + trunc(top * scale), 7 - nchar(top_label), paste0(top_label, "+"))
    put(3 + trunc(scale), 4, "1.0+")
    put(3, 8, strrep("-", n))
    put(3 + trunc(scale), 8, strrep("-", n))
    put(1, 8 + (n - 6) %/% 2, "Factor")
    for (k in seq(spacing[1], count, by = spacing[1])) {
        if (k > count) break
        put(3, 7 + k * xstep, "+")
        put(2, 7 + k * xstep - nchar(k) + 1, as.character(k))
    }
    for (j in seq_len(count)) {
        row <- if (values[j] >= 0) 3 + trunc(values[j] * scale) else 3
        put(row, 7 + j * xstep, as.character(j %% 10))
    }
    vapply(26:1, function(r) paste(canvas[r, ], collapse = ""), "")
}

class_of <- function(a, first, second) {
    k <- apply(abs(a), 1, which.max)
    codes <- sapply(seq_len(nrow(a)), function(i) {
        big <- abs(a[i, k[i]])
        rest <- if (ncol(a) > 1) max(abs(a[i, -k[i]])) else 0
        if (big > first && rest <= second) k[i] * sign(a[i, k[i]]) else 0
    })
    for (f in seq_len(ncol(a)))
        if (sum(codes == -f) > sum(codes == f)) codes[abs(codes) == f] <- -codes[abs(codes) == f]
    codes
}

# One run: the example data, qrn4's options as a list, the printed output.
check_run <- function(name, x, type = "P", rotate = FALSE, score = FALSE, prior = "S",
                      max_factors = NA, q_type = FALSE, classify = FALSE, paged = TRUE,
                      print_raw = FALSE, print_scores = FALSE) {
    cat("\n", name, "\n", sep = "")
    text <- paste(readLines(file.path("tests/factor/data", name), warn = FALSE), collapse = "\n")
    rep <- parse_report(text, paged)
    data_name <- toupper(sub("\\..*", "", attr(x, "file")))

    min_eigenvalue <- 1
    if (!is.na(max_factors)) min_eigenvalue <- 0
    if (q_type) {
        if (is.na(max_factors)) min_eigenvalue <- nrow(x) / ncol(x)
        x <- sig6(t(x))
    }
    n <- nrow(x)
    p <- ncol(x)
    limit <- if (is.na(max_factors)) p else min(max_factors, p)

    title <- paste0(if (q_type) "Q-type " else "",
                    switch(type, I = "Image Factor Analysis of ", P = "Principal Components Analysis of ",
                           F = "Principal Factors Analysis of "),
                    data_name, " Data")
    if (paged) check_pages(rep, title) else
        report(length(rep$pages) == 0 && !grepl("\f", text), "no page headers and no form feed")

    if (print_raw) compare(rep, "Raw Data Matrix", x, 0)
    means <- colMeans(x)
    sds <- sqrt(colMeans(x^2) - means^2)
    r <- sig6(cor(x))
    diag(r) <- 1
    if (!q_type) {
        compare(rep, "Variable Means", means)
        compare(rep, "Unadjusted Standard Deviations", sds)
        compare(rep, "Correlation Matrix", r)
    }

    if (type == "F") {
        s <- r
        diag(s) <- switch(prior, S = 1 - 1 / diag(solve(r)), "1" = 1,
                          C = apply(abs(r - diag(p)), 1, max))
        compare(rep, "Initial Communality Estimates", diag(s))
        e <- eigen(s, symmetric = TRUE)
        compare(rep, "Initial Eigenvalues", setNames(e$values, paste0("Factor", 1:p)))
        nf <- number_of_factors(e$values, limit, min_eigenvalue)
        h <- rowSums(loadings_of(e)[, 1:nf, drop = FALSE]^2)
        count <- 0
        change <- 1
        while (count < 100 && change > 1e-5) {
            s <- r
            diag(s) <- h
            e <- eigen(s, symmetric = TRUE)
            nf <- number_of_factors(e$values, nf, min_eigenvalue)
            new_h <- rowSums(loadings_of(e)[, 1:nf, drop = FALSE]^2)
            change <- max(abs(new_h - h))
            h <- new_h
            count <- count + 1
        }
        names(h) <- colnames(x)
        compare(rep, "Final Communality Estimates", h)
        trace <- sum(h)
    } else {
        s <- r
        if (type == "I") {
            ri <- solve(r)
            d <- diag(ri)
            g <- r + ri / outer(d, d) - 2 * diag(1 / d)
            dimnames(g) <- dimnames(r)
            if (!q_type) compare(rep, "Image Covariance Matrix", g)
            s <- sig6(g)
            modifier <- sig6(diag(p) - ri %*% diag(1 / d))
        }
        trace <- sum(diag(s))
        e <- eigen(s, symmetric = TRUE)
        nf <- number_of_factors(e$values, limit, min_eigenvalue)
    }
    compare(rep, "Unrotated Solution: Eigenvalues", eigen_table(e$values, trace))
    report(identical(rep$sections[[scree_title]]$plot, scree_lines(sig6(e$values))),
           "scree plot drawn from the eigenvalues")

    lambda <- sig6(e$values[1:nf])
    a <- loadings_of(e)[, 1:nf, drop = FALSE]
    dimnames(a) <- list(colnames(x), paste0("Factor", 1:nf))
    a <- sig6(align_signs(a, rep$sections[["Unrotated Solution: Factor Pattern"]]$m))
    compare(rep, "Unrotated Solution: Factor Pattern", a)
    check_sorted(rep, "Unrotated Solution: Factor Pattern", a)

    rotated <- rotate && nf >= 2
    expected_titles <- c(if (print_raw) "Raw Data Matrix",
                         if (!q_type) c("Variable Means", "Unadjusted Standard Deviations",
                                        "Correlation Matrix"),
                         if (!q_type && type == "I") "Image Covariance Matrix",
                         if (type == "F") c("Initial Communality Estimates", "Initial Eigenvalues",
                                            "Final Communality Estimates"),
                         scree_title, "Unrotated Solution: Eigenvalues",
                         "Unrotated Solution: Factor Pattern",
                         if (rotated) c("Rotated Solution: Percentage Communalities",
                                        "Rotated Solution: Percentages of Variance Accounted For",
                                        "Rotated Solution: Factor Pattern"),
                         if (score) "Unrotated Scoring Weights",
                         if (score && rotated) "Rotated Scoring Weights",
                         if (score && print_scores) "Unrotated Factor Scores",
                         if (score && print_scores && rotated) "Rotated Factor Scores",
                         if (classify) "Classification Results")
    report(identical(names(rep$sections), expected_titles), "sections and their order")
    if (rotated) {
        b <- sig6(varimax_pairs(a))
        compare(rep, "Rotated Solution: Percentage Communalities", 100 * rowSums(a^2))
        compare(rep, "Rotated Solution: Percentages of Variance Accounted For",
                setNames(100 * colSums(b^2) / p, colnames(a)))
        compare(rep, "Rotated Solution: Factor Pattern", b)
        check_sorted(rep, "Rotated Solution: Factor Pattern", b)
    }

    if (score) {
        first <- switch(type, P = a, I = modifier %*% a)
        if (type == "F") {
            w <- sig6(t(t(a) %*% solve(r)))
            if (rotated) wr <- sig6(t(t(b) %*% solve(r)))
        } else {
            w <- sig6(first %*% diag(1 / lambda, nf))
            if (rotated) wr <- sig6(first %*% diag(1 / lambda^2, nf) %*% t(a) %*% b)
        }
        dimnames(w) <- dimnames(a)
        compare(rep, "Unrotated Scoring Weights", w, 5e-5)
        if (rotated) {
            dimnames(wr) <- dimnames(a)
            compare(rep, "Rotated Scoring Weights", wr, 5e-5)
        }
        if (print_scores) {
            z <- sweep(sweep(x, 2, sig6(means)), 2, sig6(sds), "/")
            compare(rep, "Unrotated Factor Scores", z %*% w, 1e-4)
            if (rotated) compare(rep, "Rotated Factor Scores", z %*% wr, 1e-4)
        }
    }

    if (classify) {
        membership <- cbind(URClass = class_of(a, 0.5, 0.3))
        if (rotated) membership <- cbind(membership, RClass = class_of(b, 0.5, 0.3))
        rownames(membership) <- rownames(a)
        compare(rep, "Classification Results", membership, 0)
    }
}

example <- function(file) {
    x <- read_raw(file.path("examples", file))
    attr(x, "file") <- file
    x
}

attitude <- example("attitude.dat")
judges <- example("judges.dat")
check_run("report_components.txt", attitude, "P", rotate = TRUE, score = TRUE,
          print_raw = TRUE, print_scores = TRUE)
check_run("report_factors.txt", attitude, "F", rotate = TRUE, paged = FALSE)
check_run("report_image.txt", attitude, "I", rotate = TRUE, score = TRUE, max_factors = 2)
check_run("report_classes.txt", judges, "P", rotate = TRUE, q_type = TRUE, classify = TRUE)

if (failures > 0) {
    cat("\n", failures, " CHECKS FAILED\n", sep = "")
    quit(status = 1)
}
cat("\nALL CHECKS PASSED\n")
