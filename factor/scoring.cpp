#include "factor/scoring.h"

#include <cmath>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "factor/errors.h"
#include "factor/extended.h"
#include "factor/matrix.h"
#include "factor/parameters.h"
#include "factor/run_files.h"
#include "factor/stages.h"
#include "factor/text_writer.h"
#include "factor/word_reader.h"

namespace {

// The m x m diagonal matrix of 1 / lambda_i to the given power (1 or 2),
// lambda being the eigenvalues of the retained factors (1 x m).  An
// eigenvalue of 0 has no such weight, and ends the run.
matrix reciprocal_eigenvalues(const matrix& lambda, int power)
{
    const int m = lambda.ncols();
    matrix d(m, m, 0.0);
    for (int i = 0; i < m; ++i) {
        const extended l = lambda.val(0, i);
        d.val(i, i) = static_cast<double>(1.0L / (power == 1 ? l : l * l));
        if (!std::isfinite(d.val(i, i)))
            fatal_error("Score: no weights for an eigenvalue of 0, factor", lambda.getcollab(i));
    }
    return d;
}

// Weights from a first factor F (the pattern A, or M x A for image
// analysis): F x D(1 / lambda) for the unrotated pattern and, with
// rotation, F x D(1 / lambda^2) x A' x B for the rotated pattern B.
void eigenvalue_weights(const matrix& first, const matrix& a)
{
    const matrix lambda(stem_file(".uel"));
    matrix w = first * reciprocal_eigenvalues(lambda, 1);
    w.copyclfcl(a, -1);
    w.write(stem_file(".uwt"));
    if (analysis_parameters.rotate) {
        const matrix d2 = reciprocal_eigenvalues(lambda, 2);
        const matrix b(stem_file(".rev"));
        (((first * d2) * a.transpose()) * b).write(stem_file(".rwt"));
    }
}

// Regression weights of a pattern: transpose(pattern' x inverse(R)).
void write_regression_weights(const matrix& pattern, const matrix& r_inverse,
                              std::string_view extension)
{
    matrix w = (pattern.transpose() * r_inverse).transpose();
    w.copyclfcl(pattern, -1);
    w.copyrlfrl(pattern, -1);
    w.write(stem_file(extension));
}

[[noreturn]] void write_failed()
{
    fatal_error("Score: error writing score file", "");
}

}  // namespace

void score_weights_factors()
{
    const matrix r_inverse = matrix(stem_file(".cor")).inverse();
    write_regression_weights(matrix(stem_file(".uev")), r_inverse, ".uwt");
    if (analysis_parameters.rotate)
        write_regression_weights(matrix(stem_file(".rev")), r_inverse, ".rwt");
}

void score_weights_components()
{
    const matrix a(stem_file(".uev"));
    eigenvalue_weights(a, a);
}

void score_weights_image()
{
    const matrix a(stem_file(".uev"));
    const matrix m(stem_file(".mod"));
    eigenvalue_weights(m * a, a);
}

namespace {

// One kind of scores in the making: its weights and its score file.
struct score_file {
    explicit score_file(char kind)
        : weights(stem_file(std::string(".") + kind + "wt")),
          name(stem_file(std::string(".") + kind + "sc")),
          out(name)
    {
        if (!out.is_open())
            fatal_error("Score: cannot open output score file", name);
    }

    void check()
    {
        if (!out.good())
            write_failed();
    }

    // Lines 1 and 2: the subject count and the factor count (line 1 has no
    // blank after it), then the factor names.
    void write_header(int subjects)
    {
        out.write_count(subjects);
        out.write(' ');
        out.write_count(weights.ncols());
        out.line_end();
        for (int j = 0; j < weights.ncols(); ++j) {
            out.write(weights.getcollab(j));
            out.write(' ');
        }
        out.line_end();
        check();
    }

    // One subject's line: its label and its scores.
    void write_subject(const std::string& label, const double* scores)
    {
        out.write(label);
        out.write(' ');
        for (int j = 0; j < weights.ncols(); ++j) {
            out.write_value(scores[j]);
            out.write(' ');
        }
        out.line_end();
        check();
    }

    const matrix weights;
    const std::string name;
    text_writer out;
};

using score_files = std::vector<std::unique_ptr<score_file>>;

// The score files of the given kinds.  Every subject has as many values as
// there are rows of weights, the same for every kind.
score_files open_score_files(std::string_view kinds)
{
    score_files files;
    for (char kind : kinds)
        files.push_back(std::make_unique<score_file>(kind));
    const int p = files.front()->weights.nrows();
    for (const auto& file : files) {
        if (file->weights.nrows() != p)
            matrix::error("matrices not conformable for multiplication", "");
    }
    return files;
}

// What turns a subject's p values into the scores of every kind: the mean
// and the standard deviation of each variable, and the weights of every
// kind side by side, row by row (p x columns), so that the scores of all
// kinds come from one pass over the values.
struct score_weights {
    std::vector<double> mean;
    std::vector<double> sd;
    std::vector<double> w;
    std::size_t columns = 0;
};

score_weights gather_weights(const score_files& files, const matrix& means,
                             const matrix& deviations)
{
    const int p = files.front()->weights.nrows();
    score_weights sw;
    sw.mean.resize(p);
    sw.sd.resize(p);
    for (int i = 0; i < p; ++i) {
        sw.mean[i] = means.val(0, i);
        sw.sd[i] = deviations.val(0, i);
    }
    for (const auto& file : files)
        sw.columns += static_cast<std::size_t>(file->weights.ncols());
    sw.w.reserve(p * sw.columns);
    for (int i = 0; i < p; ++i) {
        for (const auto& file : files) {
            for (int j = 0; j < file->weights.ncols(); ++j)
                sw.w.push_back(file->weights.val(i, j));
        }
    }
    return sw;
}

// Reads the header of the raw data file up to its first subject and
// returns the subject count; the weights tell how many values to read, so
// the variable count is passed over like the p names.
int skip_header(word_reader& in, int p)
{
    count_conversion n;
    if (!in.read_count(n))
        fatal_error("Score: error in raw data file", "");
    std::string_view word;
    auto next_word = [&in, &word] {
        if (!in.read_word(word))
            fatal_error("Score: error in raw data file", "");
    };
    next_word();
    for (int i = 0; i < p; ++i)
        next_word();
    return n.value;
}

// One subject: its label, and its values in z.
void read_subject(word_reader& in, const std::string& data_file, std::string& label,
                  std::vector<double>& z)
{
    if (!in.read_label(label))
        fatal_error("Score: error in raw data file", data_file);
    value_conversion value;
    for (double& x : z) {
        if (!in.read_value(value))
            fatal_error("Score: error in raw data file", "");
        x = value.value;
    }
}

// The scores of the values z, which are standardised in place: z times
// the weights, each sum rounded to double after every step as the matrix
// product does.  Each loop on its own, so that the divisions and the sums
// of different columns overlap.
void score_values(const score_weights& sw, std::vector<double>& z, std::vector<double>& scores)
{
    const std::size_t p = z.size();
    for (std::size_t i = 0; i < p; ++i) {
        const double deviation = static_cast<double>(static_cast<extended>(z[i]) - sw.mean[i]);
        z[i] = static_cast<double>(static_cast<extended>(deviation) / sw.sd[i]);
    }
    std::fill(scores.begin(), scores.end(), 0.0);
    for (std::size_t i = 0; i < p; ++i) {
        const extended zi = z[i];
        const double* row = &sw.w[i * sw.columns];
        for (std::size_t j = 0; j < sw.columns; ++j)
            scores[j] = static_cast<double>(zi * row[j] + scores[j]);
    }
}

}  // namespace

void compute_scores(std::string_view kinds)
{
    const matrix means(stem_file(".mns"));
    const matrix deviations(stem_file(".sig"));
    const std::string data_file = raw_data_file();
    word_reader in(data_file);
    if (!in.is_open())
        fatal_error("Score: cannot open raw data file", data_file);

    const score_files files = open_score_files(kinds);
    const score_weights weights = gather_weights(files, means, deviations);
    const int n = skip_header(in, static_cast<int>(weights.mean.size()));
    for (const auto& file : files)
        file->write_header(n);

    std::string label;
    std::vector<double> z(weights.mean.size());
    std::vector<double> scores(weights.columns);
    for (int subject = 0; subject < n; ++subject) {
        read_subject(in, data_file, label, z);
        score_values(weights, z, scores);
        const double* first = scores.data();
        for (const auto& file : files) {
            file->write_subject(label, first);
            first += file->weights.ncols();
        }
    }
    for (const auto& file : files) {
        if (!file->out.close())
            write_failed();
    }
}

void scoring_step()
{
    switch (analysis_parameters.analysis_type) {
    case 'P':
        score_weights_components();
        break;
    case 'I':
        score_weights_image();
        break;
    default:
        score_weights_factors();
        break;
    }
    // The raw data are read once for both kinds of scores.
    compute_scores(analysis_parameters.rotate ? "ur" : "u");
    std::cout << "Unrotated factor scores calculated.\n";
    if (analysis_parameters.rotate)
        std::cout << "Rotated factor scores calculated.\n";
}
