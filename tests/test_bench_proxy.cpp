// The benchmark's delaying display proxy: bytes pass in order, each way
// held back by the delay, and only the connections clients make reach the
// server, closed when the client closes.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "bench/proxy.h"

namespace {

using Clock = std::chrono::steady_clock;

// A server on a Unix socket that echoes what it reads, one client at a
// time, and counts the connections it got and the ones that ended.
struct EchoServer {
  std::string directory, path;
  int listener = -1;
  std::atomic<int> accepted{0}, ended{0};
  std::atomic<bool> stop{false};
  std::thread thread;

  EchoServer() {
    char name[] = "/tmp/setup-proxy-test-XXXXXX";
    directory = mkdtemp(name);
    path = directory + "/X0";
    listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address);
    listen(listener, 4);
    thread = std::thread([this] { run(); });
  }
  ~EchoServer() {
    stop = true;
    thread.join();
    close(listener);
    unlink(path.c_str());
    rmdir(directory.c_str());
  }
  void run() {
    while (!stop) {
      pollfd p{listener, POLLIN, 0};
      if (poll(&p, 1, 50) <= 0) continue;
      int fd = accept(listener, nullptr, nullptr);
      ++accepted;
      char buffer[4096];
      ssize_t n;
      while ((n = read(fd, buffer, sizeof buffer)) > 0)
        if (write(fd, buffer, n) != n) break;
      close(fd);
      ++ended;
    }
  }
};

int connect_to(int port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

bool read_all(int fd, std::string &out, size_t size) {
  char buffer[8192];
  while (out.size() < size) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) return false;
    out.append(buffer, n);
  }
  return true;
}

template <typename Condition>
bool within_seconds(int seconds, Condition condition) {
  Clock::time_point end = Clock::now() + std::chrono::seconds(seconds);
  while (!condition() && Clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return condition();
}

double ms_since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

TEST(DelayProxy, ReadsTheRealServerFromTheDisplayName) {
  EXPECT_EQ(upstream_of_display(":99").unix_path, "/tmp/.X11-unix/X99");
  EXPECT_EQ(upstream_of_display("unix:3.0").unix_path, "/tmp/.X11-unix/X3");
  Upstream tcp = upstream_of_display("example:2.0");
  EXPECT_EQ(tcp.host, "example");
  EXPECT_EQ(tcp.port, 6002);
  EXPECT_TRUE(upstream_of_display("nonsense").unix_path.empty());
}

TEST(DelayProxy, PassesBytesInOrderDelayedEachWayWithoutStrayConnections) {
  EchoServer server;
  Upstream to;
  to.unix_path = server.path;
  const int one_way_ms = 40;
  DelayProxy proxy = start_delay_proxy(to, one_way_ms, 60);
  ASSERT_GT(proxy.pid, 0);

  // Nothing reaches the server before a client connects.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(server.accepted, 0);

  int client = connect_to(proxy.port);
  ASSERT_GE(client, 0);
  // Large enough to be read in several chunks, each byte telling its place.
  std::string sent;
  for (int i = 0; i < 300000; ++i) sent += static_cast<char>(i * 7 % 251);
  Clock::time_point start = Clock::now();
  std::thread writer([&] { EXPECT_EQ(write(client, sent.data(), sent.size()), (ssize_t)sent.size()); });
  std::string echoed;
  ASSERT_TRUE(read_all(client, echoed, 1));
  double first_byte_ms = ms_since(start);
  ASSERT_TRUE(read_all(client, echoed, sent.size()));
  writer.join();
  EXPECT_EQ(echoed, sent);
  EXPECT_GE(first_byte_ms, 2 * one_way_ms);
  EXPECT_LT(first_byte_ms, 2 * one_way_ms + 1000);

  // A short exchange: one round trip, not more.
  start = Clock::now();
  ASSERT_EQ(write(client, "x", 1), 1);
  std::string one;
  ASSERT_TRUE(read_all(client, one, 1));
  EXPECT_GE(ms_since(start), 2 * one_way_ms);
  EXPECT_LT(ms_since(start), 2 * one_way_ms + 500);

  // The client's end closes the server's connection; no other was made.
  close(client);
  EXPECT_TRUE(within_seconds(5, [&] { return server.ended == 1; }));
  EXPECT_EQ(server.accepted, 1);

  stop_delay_proxy(proxy);
  EXPECT_EQ(connect_to(6000 + proxy.display_number), -1);
}
