// Classification of the subjects of a Q-type run: each row of a factor
// pattern is assigned to the factor on which it loads clearly, if any.
#include <cmath>
#include <string>

#include "factor/matrix.h"
#include "factor/parameters.h"
#include "factor/run_files.h"
#include "factor/stages.h"

namespace {

// The class of row i of a pattern: k (factors numbered from 1) when the
// row's largest absolute loading, on factor k, is above min_loading and no
// other loading exceeds second_limit in absolute value; -k when that
// loading is negative; 0 otherwise.  On equal absolute values the first
// factor is the candidate, and the other one then counts as the second.
int class_of_row(const matrix& pattern, int i, double min_loading, double second_limit)
{
    const int m = pattern.ncols();
    if (m == 0)
        return 0;
    const int k = pattern.maxabs_col(i);
    double second = 0.0;
    for (int j = 0; j < m; ++j) {
        if (j != k && std::fabs(pattern.val(i, j)) > second)
            second = std::fabs(pattern.val(i, j));
    }
    const double loading = pattern.val(i, k);
    if (!(std::fabs(loading) > min_loading && second <= second_limit))
        return 0;
    return loading < 0 ? -(k + 1) : k + 1;
}

// Fills the given column of the membership matrix with the classes of the
// pattern's rows, then makes +k the majority sign within every class k: a
// class with more negative than positive codes has all its signs changed
// (a tie changes nothing).
void fill_classes(matrix& membership, int column, const matrix& pattern)
{
    const analysis_parameters_record& p = analysis_parameters;
    for (int i = 0; i < pattern.nrows(); ++i) {
        membership.val(i, column) =
            class_of_row(pattern, i, p.min_loading, p.second_loading_limit);
    }
    for (int k = 1; k <= pattern.ncols(); ++k) {
        int positive = 0;
        int negative = 0;
        for (int i = 0; i < membership.nrows(); ++i) {
            const double code = membership.val(i, column);
            if (code == k)
                ++positive;
            else if (code == -k)
                ++negative;
        }
        if (negative > positive) {
            for (int i = 0; i < membership.nrows(); ++i) {
                double& code = membership.val(i, column);
                if (std::fabs(code) == k)
                    code = -code;
            }
        }
    }
}

}  // namespace

void classify()
{
    const analysis_parameters_record& p = analysis_parameters;
    const matrix unrotated(stem_file(".uev"));
    matrix membership(unrotated.nrows(), p.rotate ? 2 : 1, 0.0);
    membership.copyrlfrl(unrotated, -1);
    membership.setcollab(0, "URClass");
    fill_classes(membership, 0, unrotated);
    if (p.rotate) {
        membership.setcollab(1, "RClass");
        fill_classes(membership, 1, matrix(stem_file(".rev")));
    }
    membership.write(p.membership_file);
}
