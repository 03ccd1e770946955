#include "both.c"
