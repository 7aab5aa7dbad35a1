#include "factor/stages.h"

void correlation_step() {}
