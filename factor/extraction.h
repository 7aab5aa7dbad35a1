// Factor extraction: the helpers of extract_components and extract_factors
// (declared in stages.h).
#pragma once

#include <string>

class matrix;

// The number of factors kept: the leading entries of the eigenvalue row
// (1 x p) that are not below min_eigenvalue, examining at most limit of
// them (and never more than there are).  A NaN counts as below.  Ends the
// run when no factor is kept.
int number_of_factors(const matrix& eigenvalues, int limit, double min_eigenvalue);

// Prior communalities on the diagonal of s, a copy of the correlation
// matrix: the largest absolute correlation of each variable with another,
// or its squared multiple correlation 1 - 1 / inverse(s)(i, i).
void prior_max_correlation(matrix& s);
void prior_smc(matrix& s);

// Writes m whole to file_stem + extension.
void write_stem_file(const matrix& m, const std::string& extension);
