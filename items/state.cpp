#include "items/state.h"

char host_name[64] = "";
int16_t full_mode = 1;
int16_t count_seen = 0;
int16_t error_found = 0;
const char *program_name = "setup";
