#include "plugin.c"
