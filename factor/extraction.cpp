#include "factor/stages.h"

void extract_components() {}

void extract_factors() {}
