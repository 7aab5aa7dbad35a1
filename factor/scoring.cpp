#include "factor/stages.h"

void scoring_step() {}
