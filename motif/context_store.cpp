// Xlib's context store (XSaveContext, XFindContext, XDeleteContext) kept in
// a hash map of its own. The toolkit files records under every widget (its
// translations, its extension data, its input method and input records):
// eleven thousand on a page of fifteen hundred items. Xlib hashes a record
// by the widget's address shifted left with the context added, and the low
// bits of an address are always zero: each context gets one bucket in 32,
// its chains grow 32 times as long as they are meant to, and building a
// large page spends its time walking them, more the larger it is.
//
// Compiled into each program that links the editor, like the server
// answers (the toolkit calls these through the dynamic linker). Nothing in
// Xlib itself uses the store, so every record goes through here.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <iterator>
#include <mutex>
#include <new>
#include <unordered_map>

#include "motif/server_answers.h"

namespace {

struct Key {
  Display *display;
  XID resource;
  XContext context;
  bool operator==(const Key &other) const {
    return display == other.display && resource == other.resource && context == other.context;
  }
};

struct KeyHash {
  size_t operator()(const Key &k) const {
    uint64_t h = reinterpret_cast<uintptr_t>(k.display) * 0x9e3779b97f4a7c15u;
    h ^= static_cast<uint64_t>(k.resource) * 0xc2b2ae3d27d4eb4fu;
    h ^= static_cast<uint64_t>(static_cast<uint32_t>(k.context)) * 0x165667b19e3779f9u;
    return static_cast<size_t>(h ^ (h >> 29));
  }
};

using Store = std::unordered_map<Key, XPointer, KeyHash>;

// Never destroyed: the toolkit may still look records up while the
// program's static objects go.
Store &store(void) {
  static Store *records = new Store;
  return *records;
}

std::mutex &lock(void) {
  static std::mutex *m = new std::mutex;
  return *m;
}

}  // namespace

extern "C" int XSaveContext(Display *display, XID resource, XContext context, const char *data) {
  std::lock_guard<std::mutex> held(lock());
  try {
    store()[{display, resource, context}] = const_cast<char *>(data);
  } catch (const std::bad_alloc &) {
    return XCNOMEM;
  }
  return 0;
}

extern "C" int XFindContext(Display *display, XID resource, XContext context, XPointer *data) {
  std::lock_guard<std::mutex> held(lock());
  auto found = store().find({display, resource, context});
  if (found == store().end()) return XCNOENT;
  *data = found->second;
  return 0;
}

extern "C" int XDeleteContext(Display *display, XID resource, XContext context) {
  std::lock_guard<std::mutex> held(lock());
  return store().erase({display, resource, context}) ? 0 : XCNOENT;
}

// Xlib drops a display's records when it closes (after the display's close
// hooks, which may still use them); a later connection may get the same
// address. Only the pointer is compared once the display is gone.
extern "C" int XCloseDisplay(Display *display) {
  static auto real = xlib<int (*)(Display *)>("XCloseDisplay");
  int status = real(display);
  std::lock_guard<std::mutex> held(lock());
  for (auto record = store().begin(); record != store().end();)
    record = record->first.display == display ? store().erase(record) : std::next(record);
  return status;
}
