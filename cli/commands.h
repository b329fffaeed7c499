// The commands of setup-site that read a site. Each returns the exit
// status: 0 success, 1 found something (check, diff), 2 usage error,
// unknown path or unparsable value, 3 refused or a write that failed, 4 the
// site could not be read.
#pragma once

#include <string>
#include <vector>

using Args = std::vector<std::string>;

// The options that may stand anywhere on the command line.
struct Options {
  bool show_secrets = false;  // passwords in clear in get, diff and the changes printed
  bool json = false;          // one JSON document on standard output
  bool dry_run = false;       // writing commands tell what they would change
  bool force = false;         // writing commands go on over a site with unreadable files
  bool strict = false;        // set and apply refuse a value they would store otherwise
};
extern Options options;

int list_command(const Args &args);
int check_command(const Args &args);
int repair_command(const Args &args);
int get_command(const Args &args);
int set_command(const Args &args);
int reset_command(const Args &args);
int apply_command(const Args &args);
int undo_command(const Args &args);
int range_command(const Args &args);
int describe_command(const Args &args);
int diff_command(const Args &args);
int log_command(const Args &args);
// Every field path, one a line (for shell completion); reads no setups.
int paths_command(const Args &args);
// What the value of a path may be, one a line (for shell completion).
int values_command(const Args &args);
