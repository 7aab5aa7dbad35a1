// Scoring weights and factor scores.
#pragma once

#include <string_view>

// The scoring weights of the unrotated pattern, written to file_stem +
// ".uwt", and with rotation those of the rotated pattern, ".rwt":
// regression weights from the inverse correlation matrix for iterated
// principal factors, weights from the eigenvalues for principal components,
// weights through the image matrix ".mod" for image analysis.
void score_weights_factors();
void score_weights_components();
void score_weights_image();

// The scores of every subject of the raw data file file_stem + ".dat",
// standardised with the means ".mns" and standard deviations ".sig", for
// each kind in kinds: 'u' (unrotated) or 'r' (rotated), with the weights
// file_stem + "." + kind + "wt", written to file_stem + "." + kind + "sc".
// The raw data are read once for all kinds.
void compute_scores(std::string_view kinds);
