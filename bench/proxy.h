// A display far away, on loopback: a TCP proxy in a child process that
// listens as display 127.0.0.1:N and forwards every connection to the real
// X server, holding back each direction's bytes by a fixed delay (half the
// round trip), in order. It needs no root and no traffic control, and ends
// with the process that started it or after its lifetime.
#pragma once

#include <sys/types.h>

#include <string>

// Where the proxy forwards to: a Unix socket, or a TCP host and port.
struct Upstream {
  std::string unix_path;
  std::string host;
  int port = 0;
};

// The real server of an X display name (":0", "unix:0", "host:0.0").
// Empty (no path, no host) when the name cannot be read.
Upstream upstream_of_display(const std::string &display_name);

struct DelayProxy {
  pid_t pid = -1;
  int display_number = -1;  // listens on 127.0.0.1, port 6000 + display_number
  int port = 0;
};

// Starts the proxy on the first free display number from `first_display`
// (no X socket, lock file or listener there). Each direction of each
// connection is delayed by `one_way_ms`. The child ends when the caller's
// process ends, when stopped, and after `lifetime_s` at the latest.
// pid -1 when no port could be had.
DelayProxy start_delay_proxy(const Upstream &to, int one_way_ms, int lifetime_s, int first_display = 20);

// Ends the proxy and waits for it.
void stop_delay_proxy(DelayProxy &proxy);

// Points this process and its children at the proxy: DISPLAY becomes
// 127.0.0.1:N, and XAUTHORITY a new file with the real display's entries
// and copies of them for display N (the proxy passes the client's cookie on
// unchanged). Returns the new file's name, empty when xauth failed (the
// server then must need no cookie).
std::string use_proxy_display(const DelayProxy &proxy, const std::string &real_display);
