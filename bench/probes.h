// Clocks, replies waited for and resident memory, for the benchmark.
#pragma once

#include <X11/Intrinsic.h>

#include <chrono>
#include <vector>

// Wall time, and the CPU time of this process: building widgets is the
// client's own work, so its CPU time is the steadier figure on a shared
// machine; showing a window waits for the X server too.
struct Stamp {
  std::chrono::steady_clock::time_point wall;
  double cpu_ms;
};
Stamp now(void);
double wall_since(const Stamp &start);
double cpu_since(const Stamp &start);

double median(std::vector<double> v);

// Replies from the X server that the client waited for (every one passes
// through Xlib's _XReply, which this program interposes).
void count_replies(bool on);
long replies_counted(void);
// Prints the callers of every reply counted.
void trace_replies(bool on);

// Resident memory of this process, kilobytes.
long resident_kb(void);

// Handles events until `w` has handled its first Expose (or two seconds
// went by).
void wait_for_first_expose(Widget w);

// Handles everything queued, then waits for the server to catch up.
void drain(void);
