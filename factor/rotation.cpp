#include "factor/stages.h"

void rotation_step() {}
