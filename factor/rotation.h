// Varimax rotation of a factor pattern.
#pragma once

#include <vector>

class matrix;

// A pair of factors is rotated when its angle is at least this (radians,
// about one degree); the rotation ends after a sweep without such a pair.
inline constexpr double varimax_min_angle = 0.0175;
// The sweeps a rotation may take before it gives up; converging patterns
// need a handful.
inline constexpr int varimax_sweep_limit = 10000;

struct varimax_outcome {
    std::vector<double> weights;  // per variable the root of its communality
    int sweeps;                   // sweeps made, the last one rotating nothing
    bool converged;               // false when max_sweeps ended the rotation
};

// Rotates the pattern (variables x factors) in place by Kaiser's varimax
// with row normalisation: pairs of factors are rotated in turn, sweep after
// sweep, until a whole sweep finds no angle of min_angle or more.  A
// variable whose loadings are all 0 is left as it is.
varimax_outcome varimax_rotate(matrix& pattern, double min_angle = varimax_min_angle,
                               int max_sweeps = varimax_sweep_limit);

// Reads the unrotated pattern file_stem + ".uev" and writes the rotated
// pattern ".rev", its sorted form ".rvs", the percentages of variance of
// the factors ".rpt" and the percentage communalities ".rcm".
void varimax();
