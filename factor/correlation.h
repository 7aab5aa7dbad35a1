// The correlation stage: correlations, means and standard deviations of the
// raw data, and for image analysis the image covariance.
#pragma once

// One pass over file_stem + ".dat": writes the correlations ".cor", the
// means ".mns" and the standard deviations with divisor N ".sig".  Memory
// grows with the square of the number of variables, not with the subjects.
void correlate();

// From file_stem + ".cor" (R): the image covariance
// G = R + S2 Ri S2 - 2 S2 to ".cov" and the image weights M = I - Ri S2 to
// ".mod", with Ri the inverse of R and S2 the diagonal of 1 / Ri(i, i).
void image_covariance();
