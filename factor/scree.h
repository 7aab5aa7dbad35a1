// The scree plot: a character drawing of the extraction's eigenvalues
// against their factor numbers, stored in the file file_stem + ".plt" for
// the report.
//
// The drawing is made on one canvas of 26 rows of 69 characters; row 0 is
// the bottom, column 0 the left edge.  The y axis stands in column 7, the x
// axis on row 3, and the top of the scale (the largest eigenvalue rounded
// up to a whole number) maps to 21 rows above the x axis.  The file holds
// the rows from the top down, 69 characters each, without line ends:
// always 1,794 bytes.
#pragma once

class matrix;

inline constexpr int scree_rows = 26;
inline constexpr int scree_columns = 69;

// Columns per factor (xstep) and the step between the numbered ticks of the
// x axis, for count plotted eigenvalues (at most 30).
struct scree_spacing_result {
    int tick_step;
    double xstep;
};
scree_spacing_result scree_spacing(int count);

// Blanks the canvas and draws the frame: the word "Eigenvalue", both axes,
// the ticks and labels of top and of 1.0, the dashed line at 1.0, the word
// "Factor" and the numbered x ticks.
void scree_axes(int top, int count, int tick_step, double scale, double xstep);

// Draws the first p entries of the eigenvalue row (1 x p), at most 30 of
// them, and writes the canvas to file_stem + ".plt".  Called by the
// extraction.
void scree_plot(matrix& eigenvalues, int p);
