#include "bench/proxy.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <list>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kXPortBase = 6000;
constexpr size_t kReadBytes = 64 * 1024;

bool exists(const std::string &path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

void set_nonblocking(int fd) { fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); }

void set_nodelay(int fd) {
  int on = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

int connect_upstream(const Upstream &to) {
  if (!to.unix_path.empty()) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (fd < 0 || to.unix_path.size() >= sizeof address.sun_path) {
      if (fd >= 0) close(fd);
      return -1;
    }
    std::strcpy(address.sun_path, to.unix_path.c_str());
    if (connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
      close(fd);
      return -1;
    }
    return fd;
  }
  addrinfo hints{}, *found = nullptr;
  hints.ai_socktype = SOCK_STREAM;
  if (getaddrinfo(to.host.c_str(), std::to_string(to.port).c_str(), &hints, &found) != 0) return -1;
  int fd = -1;
  for (addrinfo *a = found; a && fd < 0; a = a->ai_next) {
    fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
    if (fd >= 0 && connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
      close(fd);
      fd = -1;
    }
  }
  freeaddrinfo(found);
  if (fd >= 0) set_nodelay(fd);
  return fd;
}

// Bytes read from one end, each chunk due at the other end a delay later.
struct Chunk {
  Clock::time_point due;
  std::string bytes;
  size_t written = 0;
};

struct Direction {
  int from, to;
  std::deque<Chunk> queue;
  bool ended = false;  // `from` reached its end; `to` is shut once the queue is empty
  bool shut = false;
};

struct Link {
  Direction up, down;  // client to server, server to client
  bool failed = false;
};

// Reads what `from` has; false at its end or on an error.
bool take_in(Direction &d, Clock::duration delay) {
  char buffer[kReadBytes];
  ssize_t n = read(d.from, buffer, sizeof buffer);
  if (n > 0) {
    d.queue.push_back({Clock::now() + delay, std::string(buffer, n), 0});
    return true;
  }
  return n < 0 && (errno == EAGAIN || errno == EINTR);
}

// Writes what is due; false when the other end refuses.
bool pass_on(Direction &d) {
  while (!d.queue.empty() && d.queue.front().due <= Clock::now()) {
    Chunk &c = d.queue.front();
    ssize_t n = write(d.to, c.bytes.data() + c.written, c.bytes.size() - c.written);
    if (n < 0) return errno == EAGAIN || errno == EINTR;
    c.written += n;
    if (c.written < c.bytes.size()) return true;
    d.queue.pop_front();
  }
  if (d.ended && d.queue.empty() && !d.shut) {
    shutdown(d.to, SHUT_WR);
    d.shut = true;
  }
  return true;
}

bool finished(const Link &l) { return l.failed || (l.up.shut && l.down.shut); }

[[noreturn]] void serve(int listener, const Upstream &to, Clock::duration delay, int lifetime_s,
                        pid_t parent) {
  signal(SIGPIPE, SIG_IGN);
  const Clock::time_point end = Clock::now() + std::chrono::seconds(lifetime_s);
  std::list<Link> links;
  while (Clock::now() < end && getppid() == parent) {
    std::vector<pollfd> fds{{listener, POLLIN, 0}};
    Clock::time_point wake = Clock::now() + std::chrono::milliseconds(500);
    for (Link &l : links)
      for (Direction *d : {&l.up, &l.down}) {
        if (!d->ended) fds.push_back({d->from, POLLIN, 0});
        if (!d->queue.empty()) {
          if (d->queue.front().due <= Clock::now())
            fds.push_back({d->to, POLLOUT, 0});
          else
            wake = std::min(wake, d->queue.front().due);
        }
      }
    // To the nanosecond: a timeout in whole milliseconds, rounded up, would
    // pass each chunk on up to a millisecond late.
    const auto wait = std::max(Clock::duration::zero(), wake - Clock::now());
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(wait);
    const timespec timeout{static_cast<time_t>(seconds.count()),
                           static_cast<long>(std::chrono::nanoseconds(wait - seconds).count())};
    ppoll(fds.data(), fds.size(), &timeout, nullptr);
    if (fds[0].revents & POLLIN) {
      int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
      if (client >= 0) {
        int server = connect_upstream(to);
        if (server < 0) {
          close(client);
        } else {
          set_nodelay(client);
          set_nonblocking(client);
          set_nonblocking(server);
          links.push_back({{client, server, {}, false, false}, {server, client, {}, false, false}, false});
        }
      }
    }
    for (auto l = links.begin(); l != links.end();) {
      for (Direction *d : {&l->up, &l->down}) {
        if (!d->ended && !take_in(*d, delay)) d->ended = true;
        if (!pass_on(*d)) l->failed = true;
      }
      if (finished(*l)) {
        close(l->up.from);
        close(l->down.from);
        l = links.erase(l);
      } else {
        ++l;
      }
    }
  }
  _exit(0);
}

// A display number is free when no X server has its socket or lock file
// and nothing listens on its port.
int listen_on_free_display(int first, int &number) {
  for (number = first; number < first + 200; ++number) {
    if (exists("/tmp/.X11-unix/X" + std::to_string(number)) ||
        exists("/tmp/.X" + std::to_string(number) + "-lock"))
      continue;
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(kXPortBase + number);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 && listen(fd, 16) == 0) {
      set_nonblocking(fd);
      return fd;
    }
    close(fd);
  }
  return -1;
}

}  // namespace

Upstream upstream_of_display(const std::string &display_name) {
  Upstream to;
  size_t colon = display_name.rfind(':');
  if (colon == std::string::npos || colon + 1 >= display_name.size()) return to;
  std::string host = display_name.substr(0, colon);
  int number = std::atoi(display_name.c_str() + colon + 1);
  if (host.empty() || host == "unix")
    to.unix_path = "/tmp/.X11-unix/X" + std::to_string(number);
  else
    to.host = host, to.port = kXPortBase + number;
  return to;
}

DelayProxy start_delay_proxy(const Upstream &to, int one_way_ms, int lifetime_s, int first_display) {
  DelayProxy proxy;
  int number = 0;
  int listener = listen_on_free_display(first_display, number);
  if (listener < 0) return proxy;
  pid_t parent = getpid();
  pid_t pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    serve(listener, to, std::chrono::milliseconds(one_way_ms), lifetime_s, parent);
  }
  close(listener);
  if (pid < 0) return proxy;
  proxy.pid = pid;
  proxy.display_number = number;
  proxy.port = kXPortBase + number;
  return proxy;
}

void stop_delay_proxy(DelayProxy &proxy) {
  if (proxy.pid <= 0) return;
  kill(proxy.pid, SIGTERM);
  waitpid(proxy.pid, nullptr, 0);
  proxy.pid = -1;
}

std::string use_proxy_display(const DelayProxy &proxy, const std::string &real_display) {
  const std::string number = std::to_string(proxy.display_number);
  char name[] = "/tmp/setup-bench-xauth-XXXXXX";
  int fd = mkstemp(name);
  if (fd >= 0) close(fd);
  // xauth's numeric form: family, address length and address, number
  // length and number (hex of its digits), cookie name and data.
  std::string hex_number;
  for (char c : number) {
    char digit[3];
    std::snprintf(digit, sizeof digit, "%02x", c);
    hex_number += digit;
  }
  char length[8];
  std::snprintf(length, sizeof length, "%04zx", number.size());
  std::string entries = "xauth nlist '" + real_display + "' 2>/dev/null";
  std::string command =
      "{ " + entries + "; " + entries +
      " | sed 's/^\\([0-9a-f]\\{4\\} [0-9a-f]\\{4\\} [0-9a-f]*\\) [0-9a-f]\\{4\\} [0-9a-f]*/\\1 " + length +
      " " + hex_number + "/'; } | xauth -f " + name + " nmerge - 2>/dev/null";
  bool ok = fd >= 0 && std::system(command.c_str()) == 0;
  if (ok) setenv("XAUTHORITY", name, 1);
  setenv("DISPLAY", ("127.0.0.1:" + number).c_str(), 1);
  return ok ? name : "";
}
