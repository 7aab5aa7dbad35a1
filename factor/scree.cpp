#include "factor/scree.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include "factor/errors.h"
#include "factor/extended.h"
#include "factor/matrix.h"
#include "factor/run_files.h"
#include "factor/text_writer.h"

namespace {

constexpr int y_axis_column = 7;
constexpr int x_axis_row = 3;
constexpr int scale_rows = 21;  // from the x axis to the top of the scale
constexpr int most_factors_plotted = 30;

// The one canvas of the program; row 0 is the bottom row.
char canvas[scree_rows][scree_columns];

// Every mark goes through put: whatever would fall outside the canvas is
// left out.
void put(int row, int column, char c)
{
    if (row >= 0 && row < scree_rows && column >= 0 && column < scree_columns)
        canvas[row][column] = c;
}

void put_text(int row, int first_column, std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        put(row, first_column + static_cast<int>(i), text[i]);
}

// A text whose last character stands in last_column.
void put_text_ending_at(int row, int last_column, std::string_view text)
{
    put_text(row, last_column + 1 - static_cast<int>(text.size()), text);
}

void put_dashes(int row, int axis_length)
{
    for (int column = y_axis_column + 1; column <= y_axis_column + axis_length; ++column)
        put(row, column, '-');
}

// The row of a value of 0 or more: x axis row + trunc(value x scale).  The
// product is kept in extended precision and truncated as it stands; rounded
// to double first, 15 x (21/15) would come out as 21 instead of just under
// it.  Values beyond the top of the canvas are sent off it.
int value_row(extended value, double scale)
{
    const extended rows = value * scale;
    return rows < scree_rows ? x_axis_row + static_cast<int>(rows) : scree_rows;
}

std::string one_decimal(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%2.1f", value);
    return text;
}

}  // namespace

scree_spacing_result scree_spacing(int count)
{
    if (count <= 5)
        return {1, 10.0};
    if (count <= 10)
        return {1, 6.0};
    if (count <= 15)
        return {5, 4.0};
    if (count <= 20)
        return {10, 3.0};
    return {10, 2.0};
}

void scree_axes(int top, int count, int tick_step, double scale, double xstep)
{
    for (auto& row : canvas)
        std::fill(std::begin(row), std::end(row), ' ');

    // Read downwards in the file, from row 18 to row 9.
    const std::string_view eigenvalue = "Eigenvalue";
    for (std::size_t i = 0; i < eigenvalue.size(); ++i)
        put(18 - static_cast<int>(i), 0, eigenvalue[i]);

    for (int row = x_axis_row + 1; row <= x_axis_row + scale_rows; ++row)
        put(row, y_axis_column, '|');
    put(x_axis_row, y_axis_column, '+');

    const int top_row = value_row(top, scale);
    put(top_row, y_axis_column, '+');
    put_text_ending_at(top_row, y_axis_column - 1, one_decimal(top));

    const int unit_row = value_row(1.0L, scale);
    put(unit_row, y_axis_column, '+');
    put_text_ending_at(unit_row, y_axis_column - 1, one_decimal(1.0));

    const int axis_length = static_cast<int>(count * xstep);
    put_dashes(x_axis_row, axis_length);
    put_dashes(unit_row, axis_length);

    put_text(1, y_axis_column + 1 + (axis_length - 6) / 2, "Factor");

    for (int k = tick_step; k <= count; k += tick_step) {
        const int column = y_axis_column + static_cast<int>(std::floor(k * xstep));
        put(x_axis_row, column, '+');
        put_text_ending_at(2, column, std::to_string(k));
    }
}

void scree_plot(matrix& eigenvalues, int p)
{
    // The top of the scale: the largest eigenvalue rounded up.  A row
    // without a positive finite entry is drawn to a top of 1, so that the
    // scale stays finite.
    double largest = 0.0;
    for (int j = 0; j < p; ++j) {
        const double value = eigenvalues.val(0, j);
        if (std::isfinite(value) && value > largest)
            largest = value;
    }
    const double rounded_up = std::ceil(largest);
    const int top = rounded_up > INT_MAX ? INT_MAX : std::max(1, static_cast<int>(rounded_up));
    const double scale = double{scale_rows} / top;
    const int count = std::clamp(p, 0, most_factors_plotted);

    const auto [tick_step, xstep] = scree_spacing(count);
    scree_axes(top, count, tick_step, scale, xstep);

    // Each factor is marked with the last digit of its number.  Negative
    // eigenvalues, and any that is not a number, stand on the x axis.
    for (int j = 1; j <= count; ++j) {
        const double value = eigenvalues.val(0, j - 1);
        const int row = value >= 0 && std::isfinite(value) ? value_row(value, scale) : x_axis_row;
        put(row, y_axis_column + static_cast<int>(j * xstep), static_cast<char>('0' + j % 10));
    }

    const std::string file_name = stem_file(".plt");
    text_writer out(file_name);
    if (!out.is_open())
        fatal_error("Extract: cannot open scree plot file", file_name);
    for (int row = scree_rows - 1; row >= 0; --row)
        out.write(std::string_view(canvas[row], scree_columns));
    if (!out.close())
        fatal_error("Extract: error writing scree plot file", file_name);
}
