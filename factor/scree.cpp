#include "factor/stages.h"

void scree_plot(matrix&, int) {}
