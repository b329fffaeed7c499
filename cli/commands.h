// The commands of setup-site that read a site. Each returns the exit
// status: 0 success, 1 found something (check, diff), 2 usage error,
// unknown path or unparsable value, 3 refused or a write that failed.
#pragma once

#include <string>
#include <vector>

using Args = std::vector<std::string>;

// --show-secrets: passwords in clear in get, diff and the changes printed.
extern bool show_secrets;

int list_command(const Args &args);
int check_command(const Args &args);
int repair_command(const Args &args);
int get_command(const Args &args);
int set_command(const Args &args);
int reset_command(const Args &args);
int range_command(const Args &args);
int diff_command(const Args &args);
int log_command(const Args &args);
// Every field path, one a line (for shell completion); reads no setups.
int paths_command(const Args &args);
