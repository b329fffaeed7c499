#include "bench/probes.h"

#include <X11/Xlibint.h>
#include <dlfcn.h>
#include <execinfo.h>
// Xlibint.h defines min and max as macros, which <algorithm> cannot bear.
#undef min
#undef max

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "motif/state.h"

namespace {
bool counting = false;
bool tracing = false;
long replies = 0;

// Who waited: the calling functions, innermost first.
void print_callers(void) {
  void *frames[16];
  int count = backtrace(frames, 16);
  char **names = backtrace_symbols(frames, count);
  std::printf("reply %ld:", replies);
  for (int i = 1; i < count && names; ++i) {
    const char *name = std::strrchr(names[i], '/');
    std::printf(" %s", name ? name + 1 : names[i]);
  }
  std::printf("\n");
  std::free(names);
}
}  // namespace

extern "C" Status _XReply(Display *display, xReply *reply, int extra, Bool discard) {
  using Real = Status (*)(Display *, xReply *, int, Bool);
  static Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "_XReply"));
  if (counting) ++replies;
  if (counting && tracing) print_callers();
  return real(display, reply, extra, discard);
}

void trace_replies(bool on) { tracing = on; }

void count_replies(bool on) {
  if (on) replies = 0;
  counting = on;
}

long replies_counted(void) { return replies; }

Stamp now(void) {
  timespec cpu{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
  return {std::chrono::steady_clock::now(), cpu.tv_sec * 1e3 + cpu.tv_nsec / 1e6};
}

double wall_since(const Stamp &start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start.wall).count();
}

double cpu_since(const Stamp &start) { return now().cpu_ms - start.cpu_ms; }

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

long resident_kb(void) {
  long pages = 0, resident = 0;
  FILE *f = std::fopen("/proc/self/statm", "r");
  if (!f) return 0;
  if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
  std::fclose(f);
  return resident * 4;
}

namespace {
void exposed(Widget, XtPointer flag, XEvent *event, Boolean *) {
  if (event->type == Expose) *static_cast<bool *>(flag) = true;
}
void expired(XtPointer flag, XtIntervalId *) { *static_cast<bool *>(flag) = true; }
}  // namespace

void wait_for_first_expose(Widget w) {
  bool done = false, timed_out = false;
  XtAddEventHandler(w, ExposureMask, False, exposed, &done);
  XtIntervalId guard = XtAppAddTimeOut(app_context, 2000, expired, &timed_out);
  while (!done && !timed_out) XtAppProcessEvent(app_context, XtIMAll);
  if (!timed_out) XtRemoveTimeOut(guard);
  XtRemoveEventHandler(w, ExposureMask, False, exposed, &done);
}

void drain(void) {
  do {
    while (XtAppPending(app_context)) XtAppProcessEvent(app_context, XtIMAll);
    XSync(main_display, False);
  } while (XtAppPending(app_context));
}
