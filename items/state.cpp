#include "items/state.h"

#include <cstdio>

#include "items/front_end.h"
#include "sitelib/sitelib.h"

char host_name[64] = "";
int16_t full_mode = 1;
int16_t count_seen = 0;
int16_t error_found = 0;
const char *program_name = "setup";

void start_help(const char *topic) {
  int status = helpStart(1, topic, 0);
  if (status == SITE_OK) return;
  const char *reason = message_to_text(status, 0, 0);
  if (const FrontEnd *ui = installed_front_end())
    ui->help_failure(reason);
  else
    std::fprintf(stderr, "%s\n", reason);
}
