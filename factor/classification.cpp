#include "factor/stages.h"

void classify() {}
