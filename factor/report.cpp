#include "factor/stages.h"

void print_results() {}
