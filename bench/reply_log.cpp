// Loaded into the editor and the minimal Motif program by the benchmark
// (LD_PRELOAD): every reply the program waits for from the X server is a
// line in the file named by SETUP_BENCH_REPLY_LOG, with the monotonic time
// in milliseconds and, when SETUP_BENCH_REPLY_CALLERS is set, the callers.
#include <X11/Xlibint.h>
#include <dlfcn.h>
#include <execinfo.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {
FILE *open_log(void) {
  const char *name = std::getenv("SETUP_BENCH_REPLY_LOG");
  return name ? std::fopen(name, "a") : nullptr;
}
}  // namespace

extern "C" Status _XReply(Display *display, xReply *reply, int extra, Bool discard) {
  using Real = Status (*)(Display *, xReply *, int, Bool);
  static Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "_XReply"));
  static FILE *log = open_log();
  static bool callers = std::getenv("SETUP_BENCH_REPLY_CALLERS") != nullptr;
  if (log) {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    std::fprintf(log, "%.3f", t.tv_sec * 1e3 + t.tv_nsec / 1e6);
    if (callers) {
      void *frames[20];
      int count = backtrace(frames, 20);
      char **names = backtrace_symbols(frames, count);
      for (int i = 1; i < count && names; ++i) std::fprintf(log, " %s", names[i]);
      std::free(names);
    }
    std::fputc('\n', log);
    std::fflush(log);
  }
  return real(display, reply, extra, discard);
}
